# The way through the wizard for scripts/screenshots: each "screenshot" step saves the window
# titled "window" (default "GrabWright Plus") as docs/screenshots/NAME.png. The site asks for
# a fixed port, so the address in the pictures stays the same from run to run.

from scenarios import WELCOME, to_selection

PORT = 47180
SITE = {
    "/files/index.html": '<html><body><a href="one.zip">One</a> <a href="two.zip">Two</a>'
                         ' <a href="three.zip">Three</a></body></html>',
    "/files/one.zip": "first archive",
    "/files/two.zip": "second archive",
    "/files/three.zip": "third archive",
}
TO_SELECTION = to_selection(3)

SCENARIOS = [
    {
        "name": "the pages of a run",
        "site": SITE,
        "port": PORT,
        # The last file of the run waits on the site until the wait dialog has been taken.
        "hold_site": ["/files/two.zip"],
        "steps": [
            {"wait_window": WELCOME},
            {"screenshot": "welcome", "window": WELCOME},
            {"key": "Return"},
            {"wait_text": "Step 1"},
            {"key": "ctrl+a"},
            {"type": "{site}/files/"},
            {"expect_field": {"role": "text", "text": "{site}/files/"}},
            {"screenshot": "step-1-address"},
            {"key": "Return"},
            {"wait_text": "Step 2"},
            {"screenshot": "step-2-file-spec"},
            {"key": "Return"},
            {"wait_text": "3 items found. 3 items selected."},
            {"screenshot": "step-3-selection"},
            {"key": "Return"},
            {"wait_text": "Step 4"},
            {"screenshot": "step-4-destination"},
            {"click_button_named": "New Folder..."},
            {"wait_text": "Enter the name of the new folder to create."},
            {"type": "Archives"},
            {"screenshot": "new-folder"},
            {"key": "Return"},
            {"wait_text": "Step 4"},
            {"key": "Return"},
            {"wait_text": "Ready to download"},
            {"screenshot": "ready"},
            {"key": "Return"},
            {"wait_text": "Please wait... Downloading file 3 of 3 ({site}/files/two.zip)"},
            {"screenshot": "wait-dialog"},
            {"release_site": None},
            {"wait_text": "Your selected files have been downloaded."},
            {"screenshot": "finished"},
        ],
    },
    {
        "name": "the error page",
        "steps": [
            {"wait_window": WELCOME},
            {"key": "Return"},
            {"wait_text": "Step 1"},
            {"type": "127.0.0.1:1/"},
            {"key": "Return"},
            {"wait_window": "GrabWright"},
            {"wait_text": "<< Back", "window": "GrabWright"},
            {"screenshot": "error-page", "window": "GrabWright"},
        ],
    },
    {
        "name": "the scheduling page",
        "site": SITE,
        "port": PORT,
        "home": {".local/share/Tardifetch/": None, ".local/share/Tardifetcher.exe": ""},
        "steps": TO_SELECTION + [
            {"key": "Return"},
            {"wait_text": "Schedule Download"},
            {"screenshot": "scheduling"},
        ],
    },
]
