# The way through the wizard for scripts/screenshots: each "screenshot" step saves the window
# titled "window" (default "GrabWright Plus") as docs/screenshots/NAME.png.

SITE = {
    "/files/index.html": '<html><body><a href="one.zip">One</a> <a href="two.zip">Two</a>'
                         ' <a href="three.zip">Three</a></body></html>',
}
WELCOME = "GrabWright Plus Version 1.0.29"

SCENARIOS = [
    {
        "name": "the pages of a run",
        "site": SITE,
        # The page fetch waits on the site until the wait dialog has been taken.
        "hold_site": True,
        "steps": [
            {"wait_window": WELCOME},
            {"screenshot": "welcome", "window": WELCOME},
            {"key": "Return"},
            {"wait_text": "Step 1"},
            {"key": "ctrl+a"},
            {"type": "{site}/files/index.html"},
            {"expect_field": {"role": "text", "text": "{site}/files/index.html"}},
            {"screenshot": "step-1-address"},
            {"key": "Return"},
            {"wait_text": "Please wait... Retrieving requested webpage..."},
            {"screenshot": "wait-dialog"},
            {"release_site": None},
            {"wait_text": "Step 2"},
            {"screenshot": "step-2-file-spec"},
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
]
