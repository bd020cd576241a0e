"""The stage an end-to-end scenario plays on: a display with a window manager and the
accessibility bus, a local web site, and the wizard with fresh per-user folders."""
import functools
import http.server
import os
import signal
import subprocess
import tempfile
import threading
import time

TIMEOUT = float(os.environ.get("GW_E2E_TIMEOUT", 20))
# The browser engine's sandbox cannot run as root (a container, a CI machine): Qt's own switch
# turns it off there, for the wizard's page renderer as for the probe below.
ENGINE_ENV = {"QTWEBENGINE_DISABLE_SANDBOX": "1"} if os.geteuid() == 0 else {}


def wait_for(what, probe, timeout=TIMEOUT, describe=lambda: ""):
    """Polls probe until it returns something true; a time-out fails with what was seen.
    A probe that raises (a window that went away while it was read) counts as not yet."""
    deadline = time.monotonic() + timeout
    last_error = ""
    while True:
        try:
            result = probe()
            if result:
                return result
        except Exception as error:  # noqa: BLE001 - reported below if it never clears
            last_error = f" (last error: {error!r})"
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}{last_error}\n{describe()}")
        time.sleep(0.05)


def start(command, env, **kwargs):
    """A helper program; its chatter stays out of the test's output unless asked for."""
    streams = {"stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}
    return subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL, **(streams | kwargs))


@functools.cache
def engine_missing(program):
    """Why the page renderer beside program (where the wizard looks for it) cannot render here,
    or "" when it can: a build without the engine, or a machine where it cannot start."""
    helper = program.parent / "grabwright-render"
    if not os.access(helper, os.X_OK):
        return f"{helper} is not built (qt6-webengine-dev is missing)"
    with tempfile.TemporaryDirectory() as out:
        try:
            probe = subprocess.run([str(helper), "--address", "data:text/html,<p>x</p>", "--out",
                                    out, "--render-time", "20"], env=os.environ | ENGINE_ENV,
                                   capture_output=True, text=True, timeout=60)
        except subprocess.TimeoutExpired:
            return "the browser engine did not start within 60 s"
    if probe.returncode == 0:
        return ""
    return "the browser engine cannot start here: " + probe.stderr.strip()[-300:]


class Desktop:
    """Xvfb at 96 dpi, a session bus, the accessibility bus and openbox to close windows.
    Each helper runs in a process group of its own, so closing it ends its children too."""

    def __init__(self, scratch):
        self.groups = []
        self.bus_pid = None
        try:
            self.start(scratch)
        except BaseException:
            self.close()
            raise

    def start(self, scratch):
        read_end, write_end = os.pipe()
        self.spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                    "-dpi", "96", "-nolisten", "tcp"], dict(os.environ), pass_fds=[write_end])
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        # The accessibility bus puts its socket in the cache folder: a scratch one, not the user's.
        self.env = dict(os.environ, DISPLAY=":" + number, XDG_CACHE_HOME=str(scratch),
                        XDG_RUNTIME_DIR=str(scratch))
        for name in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "AT_SPI_BUS_ADDRESS"):
            self.env.pop(name, None)
        bus = subprocess.run(["dbus-launch"], env=self.env, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, text=True, check=True).stdout
        values = dict(line.split("=", 1) for line in bus.splitlines() if "=" in line)
        self.bus_pid = int(values["DBUS_SESSION_BUS_PID"])
        self.env["DBUS_SESSION_BUS_ADDRESS"] = values["DBUS_SESSION_BUS_ADDRESS"]
        self.spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], self.env)
        self.start_window_manager(scratch / "openbox.txt")
        # The reader below talks to the same buses as the program.
        os.environ.update(DISPLAY=self.env["DISPLAY"],
                          DBUS_SESSION_BUS_ADDRESS=self.env["DBUS_SESSION_BUS_ADDRESS"])

    def start_window_manager(self, log_path):
        """Now and then openbox ends at once on a display that has just come up; a second
        start finds it settled."""
        with open(log_path, "w+") as log:
            for attempt in range(3):
                openbox = self.spawn(["openbox", "--sm-disable"], self.env, stderr=log)
                state = wait_for("the window manager", lambda: (
                    "ended" if openbox.poll() is not None
                    else subprocess.run(["wmctrl", "-m"], env=self.env,
                                        capture_output=True).returncode == 0))
                if state is True:
                    return
                self.groups.remove(openbox.pid)
            log.seek(0)
            raise RuntimeError(f"openbox did not start: {log.read()[-500:]}")

    def spawn(self, command, env, **kwargs):
        process = start(command, env, start_new_session=True, **kwargs)
        self.groups.append(process.pid)
        return process

    def close(self):
        for group in reversed(self.groups):
            try:
                os.killpg(group, signal.SIGTERM)
                os.waitpid(group, 0)
            except (ProcessLookupError, ChildProcessError):
                pass  # a helper that had already ended
        if self.bus_pid:
            os.kill(self.bus_pid, signal.SIGTERM)


class Site:
    """A folder served over HTTP on 127.0.0.1. hold: True holds every request, a list holds
    requests for those paths; held requests wait until released. A port of 0, or one that is
    taken, gives a free one."""

    def __init__(self, root, pages, hold, port=0):
        root.mkdir(parents=True)
        for path, text in pages.items():
            file = root / path.lstrip("/")
            file.parent.mkdir(parents=True, exist_ok=True)
            file.write_bytes(text.encode() if isinstance(text, str) else text)
        self.root = root
        self.released = threading.Event()
        if not hold:
            self.released.set()
        released = self.released

        class Handler(http.server.SimpleHTTPRequestHandler):
            def __init__(self, *args, **kwargs):
                super().__init__(*args, directory=str(root), **kwargs)

            def do_GET(self):
                if hold is True or (hold and self.path in hold):
                    released.wait(TIMEOUT * 3)
                super().do_GET()

            def log_message(self, *args):
                pass

        class Server(http.server.ThreadingHTTPServer):
            def handle_error(self, request, client_address):
                pass  # a program that ends mid-request is a scenario's business, not noise

        try:
            self.server = Server(("127.0.0.1", port), Handler)
        except OSError:
            self.server = Server(("127.0.0.1", 0), Handler)
        self.address = f"http://127.0.0.1:{self.server.server_address[1]}"
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def close(self):
        self.released.set()
        self.server.shutdown()
        self.server.server_close()


class Program:
    """The wizard with fresh per-user folders (and the scenario's "home" files laid out in
    them first, a name ending in "/" being a folder, "{home}" in a text standing for the home
    folder); its output is kept for the failure
    report. start() runs it (again). An xdg-open first on its PATH writes each folder it is
    asked to open as a line of opened.txt, so no real file manager starts. engine: it runs
    pages' scripts, in the environment the engine needs here."""

    def __init__(self, path, desktop, home, files, engine=False):
        self.path = path
        self.home = home
        config, runtime = home / ".config", home / "runtime"
        downloads = home / "Downloads"
        for folder in (config, home / ".local/share", home / ".cache", downloads, runtime):
            folder.mkdir(parents=True, mode=0o700)
        (config / "user-dirs.dirs").write_text(f'XDG_DOWNLOAD_DIR="{downloads}"\n')
        for name, text in files.items():
            (home / name).parent.mkdir(parents=True, exist_ok=True)
            if name.endswith("/"):
                (home / name).mkdir(exist_ok=True)
            else:
                (home / name).write_text(text.replace("{home}", str(home)))
        opener = home / "bin/xdg-open"
        opener.parent.mkdir()
        opener.write_text('#!/bin/sh\nprintf \'%s\\n\' "$*" >> "$HOME/opened.txt"\n')
        opener.chmod(0o755)
        self.env = dict(desktop.env, HOME=str(home), XDG_CONFIG_HOME=str(config),
                        XDG_DATA_HOME=str(home / ".local/share"),
                        XDG_CACHE_HOME=str(home / ".cache"), XDG_RUNTIME_DIR=str(runtime),
                        PATH=f"{opener.parent}:{desktop.env.get('PATH', '/usr/bin:/bin')}",
                        QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                        QT_SCALE_FACTOR="1", QT_FONT_DPI="96") | (ENGINE_ENV if engine else {})
        self.log = open(home / "output.txt", "w+")
        self.process = None
        self.start()

    def start(self):
        self.process = start([str(self.path)], self.env, stdout=self.log, stderr=self.log)

    def output(self):
        self.log.seek(0)
        return self.log.read()

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait()
        self.log.close()
