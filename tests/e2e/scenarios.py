# The end-to-end scenarios, as data for driver.py. "{site}" stands for the local site's address.
import os

FETCH_FAILED = ("The webpage at the address you entered is could not be retrieved.  Check the "
                "address.  If the address is correct, the server may not be available at the "
                "current time.")
STEP_1_INSTRUCTION = "Enter the address of the webpage that you would like to retrieve files from. "
STEP_2_INSTRUCTION = ("The webpage has been found and is ready to be searched. Enter the file "
                      "specifications using the standard wildcard characters * and ? .")
SITE = {
    "/files/index.html": '<html><body><a href="one.zip">One</a> <a href="two.zip">Two</a>'
                         ' <a href="notes.txt">Notes</a></body></html>',
    "/files/one.zip": "first archive",
    "/files/two.zip": "second archive",
    "/files/notes.txt": "not an archive",
}
MEDIA = "Also look in images, video and audio"
RUN_SCRIPTS = "Run the page's scripts first (slower)"
# Pictures named by every form of markup but no anchor; "*.png" takes each at its best size.
PICTURES = {"/pictures/index.html": '<html><body><img src="a.png">'
                                    '<img srcset="b-1x.png 1x, b-2x.png 2x">'
                                    '<picture><source srcset="c.png"><img src="c.jpg"></picture>'
                                    '<img src="wait.gif" data-src="d.png"></body></html>'}
PNGS = ("a.png", "b-2x.png", "c.png", "d.png")
PICTURES.update({f"/pictures/{name}": b"\x89PNG\r\n\x1a\n" + name.encode() * 999 for name in PNGS})
# Without its script the page names no file.
SCRIPTED = {
    "/script/index.html": '<html><body><script>fetch("list.json").then(r => r.json()).then(names'
                          ' => names.forEach(name => { const a = document.createElement("a");'
                          ' a.href = name; document.body.append(a); }));</script></body></html>',
    "/script/list.json": '["one.zip", "two.zip"]',
    "/script/one.zip": "first archive",
    "/script/two.zip": "second archive",
}

# The version the build gave the program (CMake passes it on).
WELCOME = "GrabWright Plus Version " + os.environ["GW_VERSION"]
READY_IN = ("Your files are ready to be downloaded.  Your files will be downloaded into "
            "{home}/Downloads/%s/.  If this is not correct, click the \"Back\" button and "
            "change the destination folder.  If this is correct, click the \"Next\" button.")
READY = READY_IN % "archives"
READY_IN_DOWNLOADS = READY_IN.replace("/%s/", "/")
SCHEDULED = ("Your selected files have been scheduled. Use Task Scheduler to change the date "
             "and time for the downloads.")
SHORTCUT = "[InternetShortcut]\r\nURL={site}/files/%s\r\n"
INI = ".config/grabwright.ini"
# From the welcome page to Step 2 with the site's page at path.
def to_step_2(path):
    return [
        {"wait_window": WELCOME},
        {"key": "Return"},
        {"wait_text": "Step 1"},
        {"key": "ctrl+a"},
        {"type": "{site}" + path},
        {"key": "Return"},
        {"wait_text": "Step 2"},
    ]


# From the welcome page to Step 3 with the site's page and "*.zip", every archive ticked.
def to_selection(found):
    return to_step_2("/files/") + [
        {"key": "Return"},
        {"wait_text": "Step 3"},
        {"wait_text": f"{found} items found. {found} items selected."},
    ]


TO_SELECTION = to_selection(2)
TO_STEP_4 = TO_SELECTION + [{"key": "Return"}, {"wait_text": "Step 4"}]
# Into the fetch of a page that the site holds back.
IN_A_FETCH = [
    {"key": "Return", "window": WELCOME}, {"wait_text": "Step 1"}, {"key": "ctrl+a"},
    {"type": "{site}/files/"}, {"key": "Return"},
    {"wait_text": "Please wait... Retrieving requested webpage..."}]

SCENARIOS = [
    {
        "name": "media",
        "site": PICTURES,
        "steps": to_step_2("/pictures/") + [
            {"expect_names": [["check box", MEDIA]]},
            {"expect_checked": {"name": MEDIA, "checked": False}},
            {"type": "*.png"}, {"click_named": MEDIA},
            {"expect_file": {"path": INI, "contains": "AlsoMedia=1"}},
            {"click_button_named": "Next >>"},
            {"wait_text": "4 items found. 4 items selected."},
            {"key": "Return"}, {"wait_text": "Step 4"}, {"key": "Return"},
            {"wait_text": READY_IN_DOWNLOADS}, {"key": "Return"},
            {"wait_text": "Your selected files have been downloaded."},
        ] + [{"expect_file": {"path": f"Downloads/{name}", "same_as": f"/pictures/{name}"}}
             for name in PNGS] + [
            {"click_button_named": "Finish"},
            # The next start finds the box ticked.
            {"start_again": None},
        ] + to_step_2("/pictures/") + [
            {"expect_checked": {"name": MEDIA, "checked": True}},
            {"key": "Escape"}, {"expect_exit": 0},
        ],
    },
    {
        "name": "render",
        "site": SCRIPTED,
        "engine": True,
        "steps": [
            {"key": "Return", "window": WELCOME}, {"wait_text": "Step 1"},
            {"expect_checked": {"name": RUN_SCRIPTS, "checked": False}},
            {"key": "ctrl+a"}, {"type": "{site}/script/"},
            {"click_named": RUN_SCRIPTS},
            {"expect_file": {"path": INI, "contains": "RunScripts=1"}},
            {"click_button_named": "Next >>"}, {"wait_text": "Step 2"}, {"key": "Return"},
            {"wait_text": "2 items found. 2 items selected."},
            {"key": "Escape"}, {"expect_exit": 0},
        ],
    },
    {
        "name": "download",
        "site": SITE,
        # The file waits on the site until the wait dialog has been seen.
        "hold_site": ["/files/two.zip"],
        # The download folder holds "archives", which holds "old": "old" is listed only
        # while "archives" is the open folder.
        "home": {"Downloads/archives/old/": None},
        "steps": [
            {"wait_window": WELCOME},
            {"same_window": None, "window": WELCOME},
            {"expect_names": [], "window": WELCOME},
            {"expect_layout": None, "window": WELCOME},
            {"key": "Return"},
            {"wait_text": "Step 1"},
            {"same_window": None},
            {"expect_layout": None},
            {"expect_panel": {"name": "Step 1", "description": STEP_1_INSTRUCTION}},
            {"expect_names": [["text", "Web page address"]]},
            {"key": "ctrl+a"},
            {"type": "{site}/files/"},
            {"key": "Return"},
            {"wait_text": "Step 2"},
            {"expect_names": [["text", "File specification"]]},
            {"expect_layout": None},
            {"expect_field": {"role": "text", "text": "*.zip"}},
            {"key": "Return"},
            {"wait_text": "Step 3"},
            {"wait_text": "2 items found. 2 items selected."},
            {"expect_names": [["list", "Found files"]]},
            {"expect_layout": None},
            # The list has the focus on its first row, one.zip: Space unticks it.
            {"key": "space"},
            {"wait_text": "2 items found. 1 items selected."},
            {"key": "Return"},
            {"wait_text": "Step 4"},
            {"expect_names": [["combo box", "Drives"], ["tree", "Folders"]]},
            {"expect_layout": None},
            {"click_button_named": "New Folder..."},
            {"wait_text": "Enter the name of the new folder to create."},
            {"expect_names": [["text", "New folder path"]]},
            {"click_button_named": "<< Back"},
            {"wait_text": "Step 4"},
            # The tree opens at the download folder; its subfolder below comes into sight.
            {"click_named": "Downloads"},
            {"key": "Down"},
            {"double_click_named": "archives"},
            {"wait_text": "old"},
            {"key": "Return"},
            {"wait_text": READY},
            {"expect_names": []},
            {"expect_layout": None},
            {"key": "Return"},
            {"wait_text": "Please wait... Downloading file 1 of 1 ({site}/files/two.zip)"},
            {"same_window": None},
            {"release_site": None},
            {"wait_text": "Your selected files have been downloaded."},
            {"same_window": None},
            {"expect_names": []},
            {"expect_file": {"path": "Downloads/archives/two.zip", "same_as": "/files/two.zip"}},
            {"expect_file": {"path": "Downloads/archives/one.zip", "absent": True}},
            {"expect_file": {"path": INI, "contains": "URL1={site}/files/"}},
            {"expect_file": {"path": INI, "contains": "LastPath={home}/Downloads/archives/"}},
            {"click_button_named": "Finish"},
            {"expect_exit": 0},
            {"expect_file": {"path": "opened.txt", "text": "file://{home}/Downloads/archives/\n"}},
            # The next start offers the address in the drop-down and opens at the folder.
            {"start_again": None},
            {"key": "Return", "window": WELCOME},
            {"wait_text": "Step 1"},
            {"key": "Down"},
            {"expect_field": {"role": "text", "text": "{site}/files/"}},
            {"key": "Return"},
            {"wait_text": "Step 2"},
            {"key": "Return"},
            {"wait_text": "Step 3"},
            {"key": "Return"},
            {"wait_text": "Step 4"},
            {"wait_text": "old"},
            {"key": "Escape"},
            {"expect_exit": 0},
        ],
    },
    {
        "name": "new folder",
        "site": SITE,
        "steps": TO_SELECTION + [
            {"key": "Return"},
            {"wait_text": "Step 4"},
            {"click_button_named": "New Folder..."},
            {"wait_text": "Enter the name of the new folder to create."},
            # The box holds the open folder with its final "/"; the name goes behind it.
            {"type": "Fresh"},
            {"key": "Return"},
            {"wait_text": "Step 4"},
            {"wait_text": "Fresh"},
            {"key": "Return"},
            {"wait_text": READY_IN % "Fresh"},
            {"expect_file": {"path": INI, "contains": "LastPath={home}/Downloads/Fresh/"}},
            {"key": "Escape"},
            {"expect_exit": 0},
        ],
    },
    {
        "name": "remembered folder is a file",
        "site": SITE,
        "home": {"old.zip": "", INI: "[Settings]\nLastPath={home}/old.zip/\n"},
        "steps": TO_STEP_4 + [
            {"expect_file": {"path": INI, "contains": "LastPath={home}/old.zip/"}},
            {"key": "Return"}, {"wait_text": READY_IN_DOWNLOADS}],
    },
    {
        "name": "deleted folder, keyboard only",
        "site": SITE,
        "home": {"Downloads/archives/old/": None, INI: "[Settings]\nLastPath={home}/gone/\n"},
        # From the drive list to the folders, where Down highlights "archives" and Space opens it.
        "steps": TO_STEP_4 + [{"wait_text": "archives"}, {"key": "Tab"}, {"key": "Down"},
                              {"key": "space"}, {"wait_text": "old"}, {"key": "Return"},
                              {"wait_text": READY}],
    },
    {
        "name": "scheduling",
        "site": SITE,
        # The add-on: its folder with its program beside it.
        "home": {".local/share/Tardifetch/": None, ".local/share/Tardifetcher.exe": ""},
        "steps": TO_SELECTION + [
            {"key": "Return"},
            {"wait_text": "Schedule Download"},
            {"expect_names": []},
            {"click_button_named": "Schedule"},
            {"wait_text": SCHEDULED},
            {"expect_file": {"path": ".local/share/Tardifetch/one.zip.url",
                             "text": SHORTCUT % "one.zip"}},
            {"expect_file": {"path": ".local/share/Tardifetch/two.zip.url",
                             "text": SHORTCUT % "two.zip"}},
            {"expect_file": {"path": INI, "contains": "URL1={site}/files/"}},
            {"click_button_named": "Finish"},
            {"expect_exit": 0},
            # Scheduled files arrive later: no folder is opened.
            {"expect_file": {"path": "opened.txt", "absent": True}},
        ],
    },
    {
        "name": "unreachable address",
        "steps": [
            {"wait_window": WELCOME},
            {"same_window": None, "window": WELCOME},
            {"key": "Return"},
            {"wait_text": "Step 1"},
            {"expect_field": {"role": "text", "text": "http://"}},
            {"type": "127.0.0.1:1/"},
            {"key": "Return"},
            {"wait_text": FETCH_FAILED, "window": "GrabWright"},
            {"same_window": None, "window": "GrabWright"},
            {"expect_panel": {"name": "GrabWright", "description": FETCH_FAILED}},
            {"expect_names": [["image", "Warning"]], "window": "GrabWright"},
            {"key": "Escape", "window": "GrabWright"},
            {"wait_text": "Step 1", "window": "GrabWright Plus"},
            {"same_window": None},
            {"expect_field": {"role": "text", "text": "http://127.0.0.1:1/"}},
            {"close_window": "GrabWright Plus"},
            {"expect_exit": 0},
        ],
    },
    {
        "name": "page found",
        "site": SITE,
        # The page is held back until the wait dialog has been read.
        "hold_site": True,
        "steps": [
            {"wait_window": WELCOME},
            {"same_window": None, "window": WELCOME},
            {"expect_icon": "48 x 48", "window": WELCOME},
            {"click_button_named": "Next >>"},
            {"wait_text": "Step 1"},
            {"key": "ctrl+a"},
            {"type": "{site}/files/index.html"},
            {"click_button_named": "Next >>"},
            {"wait_text": "Please wait... Retrieving requested webpage..."},
            {"same_window": None},
            {"expect_icon": "48 x 48"},
            {"release_site": None},
            {"wait_text": "Step 2"},
            {"same_window": None},
            {"wait_text": STEP_2_INSTRUCTION},
            {"expect_field": {"role": "text", "text": "*.zip"}},
            {"wait_text": "Cancel"},
            {"wait_text": "<< Back"},
            {"key": "Escape"},
            {"expect_exit": 0},
        ],
    },
    {
        "name": "closing during a fetch",
        "site": SITE,
        # The page never comes: closing the window is the way out of the fetch, not the end.
        "hold_site": True,
        "steps": IN_A_FETCH + [
            {"close_window": "GrabWright Plus"},
            {"wait_text": FETCH_FAILED, "window": "GrabWright"},
            {"key": "Return", "window": "GrabWright"},
            {"wait_text": "Step 1"},
            {"expect_field": {"role": "text", "text": "{site}/files/"}},
            {"key": "Escape"},
            {"expect_exit": 0},
        ],
    },
    {
        "name": "terminated during a download",
        "site": SITE,
        # The second file is held, so that its hidden part file stands when the signal comes.
        "hold_site": ["/files/two.zip"],
        "steps": TO_STEP_4 + [
            {"key": "Return"}, {"wait_text": READY_IN_DOWNLOADS}, {"key": "Return"},
            {"wait_text": "Please wait... Downloading file 2 of 2 ({site}/files/two.zip)"},
            {"send_signal": "SIGTERM"}, {"expect_exit": 143},
            {"expect_entries": {"path": "Downloads", "names": ["one.zip"]}},
            {"expect_entries": {"path": ".cache/grabwright", "names": []}}],
    },
    {
        "name": "hung up and terminated during a download",
        "site": SITE,
        # What a logout sends: the second ends it at once, with the first's status.
        "hold_site": ["/files/two.zip"],
        "steps": TO_STEP_4 + [
            {"key": "Return"}, {"wait_text": READY_IN_DOWNLOADS}, {"key": "Return"},
            {"wait_text": "Please wait... Downloading file 2 of 2 ({site}/files/two.zip)"},
            {"send_signal": "SIGHUP"}, {"send_signal": "SIGTERM"}, {"expect_exit": 129},
            {"expect_entries": {"path": "Downloads", "names": ["one.zip"]}},
            {"expect_entries": {"path": ".cache/grabwright", "names": []}}],
    },
    {
        "name": "interrupted twice during a fetch",
        "site": SITE,
        "hold_site": True,
        "steps": IN_A_FETCH + [
            {"send_signal": "SIGINT"}, {"send_signal": "SIGINT"}, {"expect_exit": 130},
            {"expect_entries": {"path": ".cache/grabwright", "names": []}}],
    },
    {
        "name": "speed limit",
        "site": SITE,
        "steps": TO_STEP_4 + [
            {"key": "Return"}, {"wait_text": READY_IN_DOWNLOADS},
            {"expect_names": [["check box", "Limit the download speed to"],
                              ["spin button", "Download speed limit in KB/s"]]},
            {"click_named": "Limit the download speed to"},
            {"key": "Tab"}, {"key": "ctrl+a"}, {"type": "500"}, {"key": "Return"},
            {"wait_text": "Your selected files have been downloaded."},
            {"expect_file": {"path": "Downloads/two.zip", "same_as": "/files/two.zip"}},
            {"expect_file": {"path": INI, "contains": "LimitRate=500"}}],
    },
    {
        "name": "remembered addresses",
        "home": {".config/grabwright.ini": "[History]\nURL1=http://127.0.0.1:1/old/\n"},
        "steps": [
            {"key": "Return", "window": WELCOME},
            {"wait_text": "Step 1"},
            # Remembered addresses wait in the drop-down; the box starts at "http://".
            {"expect_field": {"role": "text", "text": "http://"}},
            {"click_button_named": "Clear History"},
            {"expect_file": {"path": ".config/grabwright.ini", "contains": "URL1="}},
            {"close_window": "GrabWright Plus"},
            {"start_again": None},
            {"key": "Return", "window": WELCOME},
            {"wait_text": "Step 1"},
            {"expect_field": {"role": "text", "text": "http://"}},
        ],
    },
]
