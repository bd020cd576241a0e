# The end-to-end scenarios, as data for driver.py. "{site}" stands for the local site's address.

FETCH_FAILED = ("The webpage at the address you entered is could not be retrieved.  Check the "
                "address.  If the address is correct, the server may not be available at the "
                "current time.")
STEP_2_INSTRUCTION = ("The webpage has been found and is ready to be searched. Enter the file "
                      "specifications using the standard wildcard characters * and ? .")
SITE = {
    "/files/index.html": '<html><body><a href="one.zip">One</a> <a href="two.zip">Two</a>'
                         ' <a href="notes.txt">Notes</a></body></html>',
    "/files/one.zip": "first archive",
    "/files/two.zip": "second archive",
    "/files/notes.txt": "not an archive",
}

SCENARIOS = [
    {
        "name": "unreachable address",
        "steps": [
            {"wait_window": "GrabWright Plus Version 1.0.29"},
            {"key": "Return"},
            {"wait_text": "Step 1"},
            {"expect_field": {"role": "text", "text": "http://"}},
            {"type": "127.0.0.1:1/"},
            {"key": "Return"},
            {"wait_text": FETCH_FAILED, "window": "GrabWright"},
            {"key": "Escape", "window": "GrabWright"},
            {"wait_text": "Step 1", "window": "GrabWright Plus"},
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
            {"wait_window": "GrabWright Plus Version 1.0.29"},
            {"expect_icon": "48 x 48", "window": "GrabWright Plus Version 1.0.29"},
            {"click_button_named": "Next >>"},
            {"wait_text": "Step 1"},
            {"key": "ctrl+a"},
            {"type": "{site}/files/index.html"},
            {"click_button_named": "Next >>"},
            {"wait_text": "Please wait... Retrieving requested webpage..."},
            {"expect_icon": "48 x 48"},
            {"release_site": None},
            {"wait_text": "Step 2"},
            {"wait_text": STEP_2_INSTRUCTION},
            {"expect_field": {"role": "text", "text": "*.zip"}},
            {"wait_text": "Cancel"},
            {"wait_text": "<< Back"},
            {"key": "Escape"},
            {"expect_exit": 0},
        ],
    },
    {
        "name": "remembered addresses",
        "home": {".config/grabwright.ini": "[History]\nURL1=http://127.0.0.1:1/old/\n"},
        "steps": [
            {"key": "Return", "window": "GrabWright Plus Version 1.0.29"},
            {"wait_text": "Step 1"},
            # Remembered addresses wait in the drop-down; the box starts at "http://".
            {"expect_field": {"role": "text", "text": "http://"}},
            {"click_button_named": "Clear History"},
            {"expect_file": {"path": ".config/grabwright.ini", "contains": "URL1="}},
            {"close_window": "GrabWright Plus"},
            {"start_again": None},
            {"key": "Return", "window": "GrabWright Plus Version 1.0.29"},
            {"wait_text": "Step 1"},
            {"expect_field": {"role": "text", "text": "http://"}},
        ],
    },
]
