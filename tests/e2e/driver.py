#!/usr/bin/python3
"""Drives the wizard in a real X window from outside, as a person and a screen reader would.

    driver.py PROGRAM SCENARIO_FILE [--only NAME] [--screenshots FOLDER]

SCENARIO_FILE holds SCENARIOS, a list of dicts: "name", optional "site" (path -> page text,
served from 127.0.0.1, on "port" when that one is free), optional "hold_site" (True, or a list
of paths: those requests wait until a "release_site" step), optional "home" (path under the
home folder -> text, or a folder when the path ends in "/", laid out before the start),
optional "engine" (True: it needs the page renderer beside the program, and is skipped, with
the reason, where the browser engine cannot start), and "steps",
each a one-key dict naming an action of Run.STEPS, plus an optional "window" (title).
"{site}" in a step's text stands for the site's address, "{home}" for the home folder.
One display, window manager and accessibility bus serve the whole run; each scenario gets
its own site, program and fresh per-user folders.
"""
import argparse
import runpy
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

from stage import Desktop, Program, Site, engine_missing, wait_for

class Reader:
    """Reads the program's windows over AT-SPI, as a screen reader does."""

    def __init__(self, process_id):
        import pyatspi  # only now: it binds to the session bus named in the environment
        self.atspi = pyatspi
        self.process_id = process_id

    def application(self):
        desktop = self.atspi.Registry.getDesktop(0)
        for app in desktop:
            try:
                if app is not None and app.get_process_id() == self.process_id:
                    app.clear_cache()
                    return app
            except Exception:  # an application that left the bus while we asked
                continue
        return None

    def windows(self):
        """The visible windows: (title, accessible)."""
        app = self.application()
        if app is None:
            return []
        showing = self.atspi.STATE_SHOWING
        return [(window.name, window) for window in app
                if window is not None and window.getState().contains(showing)]

    def find(self, title=None, role=None, name=None, text=None):
        """The first window (with that title) holding a control that fits; (window, node)."""
        for window_title, window in self.windows():
            if title is not None and window_title != title:
                continue
            for node in self.nodes(window):
                if ((role is None or node.getRoleName() == role)
                        and (name is None or node.name == name)
                        and (text is None or self.text_of(node) == text)):
                    return window, node
        return None

    def nodes(self, window):
        for child in window:
            if child is not None and child.getState().contains(self.atspi.STATE_SHOWING):
                yield child
                yield from self.nodes(child)

    @staticmethod
    def text_of(node):
        try:
            text_part = node.queryText()
            return text_part.getText(0, text_part.characterCount)
        except NotImplementedError:
            return None

    def extents(self, node):
        return node.queryComponent().getExtents(self.atspi.DESKTOP_COORDS)

    def centre(self, node):
        extents = self.extents(node)
        return extents.x + extents.width // 2, extents.y + extents.height // 2

    def describe(self):
        lines = []
        for title, window in self.windows():
            lines.append(f"window {title!r}")
            for node in self.nodes(window):
                text = self.text_of(node)
                lines.append(f"  {node.getRoleName()}: {node.name!r}"
                             + (f" holding {text!r}" if text else ""))
        return "\n".join(lines) or "(no window of the program is showing)"


class Run:
    """One scenario: its site, its program, and the steps that drive them."""

    def __init__(self, scenario, program_path, desktop, scratch, screenshots):
        self.desktop = desktop
        self.screenshots = screenshots
        self.site = Site(scratch / "site", scenario.get("site", {}), scenario.get("hold_site"),
                         scenario.get("port", 0))
        self.program = Program(program_path, desktop, scratch / "home", scenario.get("home", {}),
                               scenario.get("engine", False))
        self.reader = Reader(self.program.process.pid)
        self.first_window = None
        self.next_place = None

    def fill(self, value):
        if not isinstance(value, str):
            return value
        return value.replace("{site}", self.site.address).replace("{home}",
                                                                   str(self.program.home))

    def tool(self, *command):
        subprocess.run(command, env=self.desktop.env, check=True, capture_output=True)

    def wait(self, what, probe):
        return wait_for(what, probe, describe=self.describe)

    def describe(self):
        return self.reader.describe() + "\nprogram output:\n" + self.program.output()

    def x_window(self, title):
        """The X window (its client area) of the one visible top-level with this title."""
        def search():
            result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name",
                                     f"^{title}$"], env=self.desktop.env,
                                    capture_output=True, text=True)
            found = result.stdout.split()
            return found[0] if len(found) == 1 else None
        return self.wait(f"one X window titled {title!r}", search)

    def focused(self, title):
        """Keys reach the window that has the focus: wait until one of ours (titled) has it."""
        active = self.reader.atspi.STATE_ACTIVE
        self.wait(f"a focused window {title or ''}".rstrip(), lambda: any(
            window.getState().contains(active) and title in (None, t)
            for t, window in self.reader.windows()))

    # The steps, named in STEPS. Each gets the step's value and its optional window title.
    def key(self, keys, title):
        self.focused(title)
        self.tool("xdotool", "key", "--clearmodifiers", *keys.split())

    def type(self, text, title):
        self.focused(title)
        self.tool("xdotool", "type", "--delay", "30", self.fill(text))

    def wait_window(self, title, _):
        self.wait(f"a window titled {title!r}",
                  lambda: any(t == title for t, _ in self.reader.windows()))

    def wait_text(self, text, title):
        """A label, button or caption named text, or a text box holding it."""
        text = self.fill(text)
        self.wait(f"{text!r} on screen",
                  lambda: self.reader.find(title=title, name=text)
                  or self.reader.find(title=title, text=text))

    def expect_field(self, wanted, title):
        """{"role": ..., "name": ..., "text": ...}: a control with exactly that text."""
        wanted = {key: self.fill(value) for key, value in wanted.items()}
        self.wait(f"a control {wanted}", lambda: self.reader.find(title=title, **wanted))

    def expect_checked(self, wanted, title):
        """{"name": ..., "checked": true or false}: a check box of that name in that state."""
        def check():
            _, box = self.reader.find(title=title, role="check box", name=wanted["name"])
            return box.getState().contains(self.reader.atspi.STATE_CHECKED) == wanted["checked"]
        self.wait(f"a check box {wanted}", check)

    def click_button_named(self, name, title):
        _, button = self.wait(f"a button {name!r}",
                              lambda: self.reader.find(title=title, role="push button",
                                                       name=name))
        self.click_at(button, title, 1)

    def click_named(self, name, title, clicks=1):
        """A row of a list or tree, by its text; it must be scrolled into sight."""
        _, row = self.wait(f"a control {name!r}", lambda: self.reader.find(title=title,
                                                                            name=name))
        self.click_at(row, title, clicks)

    def click_at(self, node, title, clicks):
        """A new window may still be placed by the window manager: click once it is active
        and the control stands still."""
        self.focused(title)
        where = []

        def still():
            where.append(self.reader.centre(node))
            return len(where) > 1 and where[-1] == where[-2]
        self.wait("the control to stand still", still)
        x, y = where[-1]
        # With the pointer already there (the next page's button where the last one was),
        # "mousemove --sync" waits some 15 s for a motion that never comes.
        pointer = subprocess.run(["xdotool", "getmouselocation", "--shell"], env=self.desktop.env,
                                 capture_output=True, text=True, check=True).stdout
        move = [] if f"X={x}\nY={y}\n" in pointer else ["mousemove", "--sync", str(x), str(y)]
        self.tool("xdotool", *move, "click", "--repeat", str(clicks), "--delay", "80", "1")

    def double_click_named(self, name, title):
        self.click_named(name, title, clicks=2)

    NAMED_ROLES = {"text", "combo box", "list", "tree", "tree table", "table", "image",
                   "icon", "check box", "spin button"}

    def expect_names(self, names, title):
        """Every input, list and picture of the window carries an accessible name, and the
        names given ([role, name] pairs) are among them, as a screen reader announces them.
        Qt names a plain drop-down here by its current entry: its own name is then read out
        as its description."""
        def check():
            window = next(w for t, w in self.reader.windows() if title in (None, t))
            found = [(n.getRoleName(), n.name, n.description) for n in self.reader.nodes(window)
                     if n.getRoleName() in self.NAMED_ROLES]
            unnamed = [role for role, name, _ in found if not name]
            return not unnamed and all(
                any(role == want_role and want in (name, description)
                    for role, name, description in found)
                for want_role, want in names)
        self.wait(f"names {names} and no unnamed input, list or picture", check)

    def same_window(self, _, title):
        """The X window the first such step saw, where and as large as it was then."""
        window = self.x_window(title or "GrabWright Plus")
        place = subprocess.run(["xdotool", "getwindowgeometry", window], env=self.desktop.env,
                               capture_output=True, text=True, check=True).stdout
        seen = (window, *(line.strip() for line in place.splitlines()[1:]))
        if self.first_window is None:
            self.first_window = seen
        elif seen != self.first_window:
            raise AssertionError(f"window {seen}, not {self.first_window}")

    def expect_panel(self, wanted, title):
        """{"name": ..., "description": ...}: the current view, as a screen reader meets it."""
        wanted = {key: self.fill(value) for key, value in wanted.items()}

        def check():
            for _, window in self.reader.windows():
                if title is None or window.name == title:
                    for node in self.reader.nodes(window):
                        if (node.getRoleName() == "panel" and node.name == wanted["name"]
                                and node.description == wanted["description"]):
                            return True
            return False
        self.wait(f"a panel {wanted}", check)

    def expect_layout(self, _, title):
        """The view's first control stands within 12 px of the window's top edge, and "Next >>"
        where it stood at the first such step, both measured from the window's corner."""
        def check():
            window, view = self.reader.find(title=title, role="panel")
            _, button = self.reader.find(title=title, role="push button", name="Next >>")
            frame, at = self.reader.extents(window), self.reader.extents(button)
            first = min(self.reader.extents(node).y for node in self.reader.nodes(view))
            self.next_place = self.next_place or (at.x - frame.x, at.y - frame.y)
            return first - frame.y <= 12 and (at.x - frame.x, at.y - frame.y) == self.next_place
        self.wait("the view at the window's top and Next >> in its place", check)

    def close_window(self, title, _):
        self.x_window(title)
        self.tool("wmctrl", "-c", title)

    def expect_exit(self, code, _):
        self.wait("the program to end", lambda: self.program.process.poll() is not None)
        if self.program.process.returncode != code:
            raise AssertionError(f"exit code {self.program.process.returncode}, not {code}")

    def expect_file(self, wanted, _):
        """{"path": under the home folder, and "text": its exact content, "same_as": the
        site's file it must equal byte for byte, "contains": a line it must hold, or
        "absent": true, when there must be no such file}."""
        file = self.program.home / wanted["path"]
        if wanted.get("absent"):
            if file.exists():
                raise AssertionError(f"{file} is there")
            return
        self.wait(f"the file {file}", file.is_file)
        held = file.read_bytes()
        if "same_as" in wanted:
            fits = held == (self.site.root / wanted["same_as"].lstrip("/")).read_bytes()
        elif "contains" in wanted:
            fits = self.fill(wanted["contains"]).encode() in held.splitlines()
        else:
            fits = held == self.fill(wanted["text"]).encode()
        if not fits:
            raise AssertionError(f"{file} holds {held[:300]!r}")

    def expect_entries(self, wanted, _):
        """{"path": a folder under the home folder, "names": all it holds, sorted}."""
        folder = self.program.home / wanted["path"]
        held = sorted(entry.name for entry in folder.iterdir()) if folder.is_dir() else []
        if held != wanted["names"]:
            raise AssertionError(f"{folder} holds {held}")

    def send_signal(self, name, _):
        self.program.process.send_signal(getattr(signal, name))

    def start_again(self, _, __):
        """After the program ended: the next start, with the same per-user folders."""
        self.expect_exit(0, None)
        self.program.start()
        self.reader = Reader(self.program.process.pid)
        self.first_window = None

    def expect_icon(self, size, title):
        """The window hands the desktop an icon of this size ("48 x 48") for its frame."""
        window = self.x_window(title or "GrabWright Plus")
        icons = subprocess.run(["xprop", "-id", window, "_NET_WM_ICON"], env=self.desktop.env,
                               capture_output=True, text=True).stdout
        if f"Icon ({size})" not in icons:
            raise AssertionError(f"no {size} icon on {title!r}: {icons[:200]!r}")

    def release_site(self, _, __):
        self.site.released.set()

    def screenshot(self, name, title):
        """The window's client area as docs PNG, once two grabs agree (live progress: after 3 s)."""
        window = self.x_window(title or "GrabWright Plus")
        target = self.screenshots / f"{name}.png"
        grab = target.with_suffix(".new.png")

        def settled():
            before = grab.read_bytes() if grab.exists() else None
            self.tool("import", "-window", window, "-define", "png:exclude-chunks=date,time",
                      str(grab))
            return grab.read_bytes() == before
        deadline = time.monotonic() + 3
        while not settled() and time.monotonic() < deadline:
            time.sleep(0.1)
        grab.replace(target)

    STEPS = ("key", "type", "wait_window", "wait_text", "expect_field", "expect_checked",
             "click_button_named", "click_named", "double_click_named", "expect_names",
             "same_window", "expect_panel", "close_window", "expect_exit", "expect_file",
             "expect_entries", "expect_icon", "release_site", "send_signal", "start_again",
             "screenshot", "expect_layout")

    def run(self, steps):
        for number, step in enumerate(steps, 1):
            title = step.get("window")
            (action, value), = ((k, v) for k, v in step.items() if k != "window")
            if action not in self.STEPS:
                raise AssertionError(f"step {number}: no step called {action!r}")
            try:
                getattr(self, action)(value, title)
            except (AssertionError, subprocess.CalledProcessError) as failure:
                raise AssertionError(f"step {number} {step}: {failure}") from None

    def close(self):
        self.program.close()
        self.site.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("program", type=Path)
    parser.add_argument("scenarios", type=Path)
    parser.add_argument("--only", help="run the scenario of this name alone")
    parser.add_argument("--screenshots", type=Path,
                        help="folder for the screenshot steps' PNG files (else a scratch one)")
    options = parser.parse_args()
    scenarios = runpy.run_path(str(options.scenarios))["SCENARIOS"]
    if options.only:
        scenarios = [s for s in scenarios if s["name"] == options.only]
    if options.screenshots:
        options.screenshots.mkdir(parents=True, exist_ok=True)
    failures = 0
    desktop_scratch = Path(tempfile.mkdtemp(prefix="gw-e2e-desktop-"))
    desktop = Desktop(desktop_scratch)
    try:
        for scenario in scenarios:
            missing = scenario.get("engine") and engine_missing(options.program.resolve())
            if missing:
                print(f"SKIP {scenario['name']}: {missing}", flush=True)
                continue
            if options.screenshots:
                # The same folders on every run, so the paths the pages show stay the same.
                scratch = Path(tempfile.gettempdir()) / "grabwright-tour"
                shutil.rmtree(scratch, ignore_errors=True)
                scratch.mkdir()
            else:
                scratch = Path(tempfile.mkdtemp(prefix="gw-e2e-"))
            started = time.monotonic()
            run = Run(scenario, options.program.resolve(), desktop, scratch,
                      options.screenshots or scratch)
            try:
                run.run(scenario["steps"])
                print(f"PASS {scenario['name']} ({time.monotonic() - started:.1f} s)", flush=True)
            except AssertionError as failure:
                failures += 1
                print(f"FAIL {scenario['name']}: {failure}", flush=True)
            finally:
                run.close()
                shutil.rmtree(scratch, ignore_errors=True)
    finally:
        desktop.close()
        shutil.rmtree(desktop_scratch, ignore_errors=True)
    return 1 if failures or not scenarios else 0


if __name__ == "__main__":
    sys.exit(main())
