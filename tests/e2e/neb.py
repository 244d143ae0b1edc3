"""Drives the Windows programs of the build under Wine for end-to-end tests.

tools/test.sh prepares one Wine prefix (and an X display) for the whole test
run and exports WINEPREFIX, DISPLAY, NEB_WINE (the Wine loader: the host's
64-bit Wine, or the 32-bit lane's, tools/lane32.sh) and NEB_BUILD_DIR (the
x86-64 build, or the i686 build in the 32-bit lane); every program started
here runs in that prefix, with its debugger output captured from Wine's
debug channel.
"""
import contextlib
import glob
import os
import re
import select
import shutil
import subprocess
import tempfile
import threading
import time

WINE = os.environ.get("NEB_WINE", "/usr/lib/wine/wine64")
BUILD_DIR = os.environ.get("NEB_BUILD_DIR", "")
PREFIX = os.environ.get("WINEPREFIX", "")

# Wine 8 reports OutputDebugString text on the "seh" channel at warn level,
# escaped the way its debugstr_a() escapes. The line that names
# OutputDebugStringA appears only for text sent through OutputDebugStringW;
# the exception dispatcher's line appears once for every text, whichever
# function sent it.
DEBUG_CHANNEL = "warn+seh"
_DEBUG_LINE = re.compile(r'^[0-9a-f]+:warn:seh:dispatch_exception "(.*)"$')
_ESCAPES = {"n": "\n", "r": "\r", "t": "\t", '"': '"', "\\": "\\"}

WINE_START_FAILURE = "failed to map the shared user data"

CASE_SCRIPT_ERROR = ":-( 杯具，脚本执行时发生错误"


def _unescape(text):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            nxt = text[i + 1]
            if nxt in _ESCAPES:
                out.append(_ESCAPES[nxt])
                i += 2
                continue
            if nxt == "x":
                out.append(chr(int(text[i + 2:i + 4], 16)))
                i += 4
                continue
            if nxt.isdigit():
                out.append(chr(int(text[i + 1:i + 4], 8)))
                i += 4
                continue
        out.append(c)
        i += 1
    return "".join(out)


def debug_lines(stderr_text):
    """The program's debugger output lines, in order, as the program wrote them."""
    lines = []
    for raw in stderr_text.splitlines():
        match = _DEBUG_LINE.match(raw)
        if match:
            lines.append(_unescape(match.group(1)))
    return lines


def windows_path(unix_path):
    """The path under Wine's Z: drive, which maps the whole Unix tree."""
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


def c_drive_path(unix_path):
    """The C: path of a file inside the prefix's drive_c."""
    relative = os.path.relpath(os.path.abspath(unix_path), os.path.join(PREFIX, "drive_c"))
    return "C:\\" + relative.replace("/", "\\")


def build_path(*parts):
    return os.path.join(BUILD_DIR, *parts)


def env(**extra):
    result = dict(os.environ)
    result["WINEDEBUG"] = DEBUG_CHANNEL
    result["LANG"] = "C.UTF-8"
    result.update({k: str(v) for k, v in extra.items()})
    return result


class Result:
    def __init__(self, returncode, stdout, stderr):
        self.returncode = returncode
        self.stdout = stdout
        self.stderr = stderr
        self.debug = debug_lines(stderr)


def _read_text(file):
    """A captured output file's text, with line ends read as text pipes read them."""
    file.seek(0)
    text = file.read().decode("utf-8", "replace")
    return text.replace("\r\n", "\n").replace("\r", "\n")


def run(program, args=(), timeout=120, cwd=None, **extra_env):
    """Runs a program to its end. `cwd` (a Unix folder) becomes its current
    folder, under the drive letter that maps it."""
    # Output goes to files, not pipes: Wine's desktop process, started by the
    # first program that opens a window, inherits that program's output and
    # would hold pipes open for as long as any other program runs.
    for _ in range(3):
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            completed = subprocess.run([WINE, program, *args], env=env(**extra_env), stdout=out,
                                       stderr=err, timeout=timeout, cwd=cwd)
            result = Result(completed.returncode, _read_text(out), _read_text(err))
        # Now and then Wine cannot lay out a new process's memory and ends it
        # before any of its code ran; such a start is tried again.
        if WINE_START_FAILURE not in result.stderr:
            break
    return result


def run_script(script, args=(), timeout=120, **extra_env):
    """Runs a Lua file in nebscript, the installer's engine as a console tool."""
    nebscript = build_path("tools", "nebscript", "nebscript.exe")
    return run(nebscript, [windows_path(script), *args], timeout=timeout, **extra_env)


def start(program, args=(), stdin=None, cwd=None, **extra_env):
    return subprocess.Popen([WINE, program, *args], env=env(**extra_env), stdin=stdin, cwd=cwd,
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                            encoding="utf-8", errors="replace")


class Detached:
    """A program started with its output in files: a program it starts in
    turn (the product, through the shell) inherits no pipe of the test's and
    may run on after it."""

    def __init__(self, program, args, extra_env):
        # The error output has a name, so that it can be read while the
        # program writes it without moving the program's own file position.
        self._out, self._err = tempfile.TemporaryFile(), tempfile.NamedTemporaryFile(prefix="neb-stderr-")
        self._popen = subprocess.Popen([WINE, program, *args], env=env(**extra_env), stdout=self._out,
                                       stderr=self._err)

    def debug_so_far(self):
        """The debugger output lines the program has written until now."""
        with open(self._err.name, "rb") as f:
            return debug_lines(f.read().decode("utf-8", "replace"))

    def poll(self):
        return self._popen.poll()

    def kill(self):
        self._popen.kill()

    def finish(self, timeout):
        try:
            returncode = self._popen.wait(timeout=timeout)
            return Result(returncode, _read_text(self._out), _read_text(self._err))
        finally:
            if self._popen.poll() is not None:
                self._out.close()
                self._err.close()


def start_detached(program, args=(), **extra_env):
    return Detached(program, args, extra_env)


def finish(process, timeout=120):
    if isinstance(process, Detached):
        return process.finish(timeout)
    stdout, stderr = process.communicate(timeout=timeout)
    return Result(process.returncode, stdout, stderr)


def stage(program, name=None):
    """Copies a built program into a fresh folder of the prefix's C: drive.

    Installers schedule their own file for deletion at the next restart, and
    Wine carries that out whenever its server starts again, so tests never
    run the build's own copy.
    """
    folder = tempfile.mkdtemp(prefix="neb-", dir=os.path.join(PREFIX, "drive_c"))
    target = os.path.join(folder, name or os.path.basename(program))
    shutil.copy2(program, target)
    return target


def run_lua(code, args=(), timeout=120, **extra_env):
    """Runs Lua source in nebscript, the installer's engine as a console tool."""
    with tempfile.NamedTemporaryFile("w", suffix=".lua", delete=False, encoding="utf-8") as f:
        f.write(code)
        script = f.name
    try:
        return run_script(script, args, timeout=timeout, **extra_env)
    finally:
        os.remove(script)


def close_window(window_class, timeout=60):
    """Waits for a top-level window of that class and posts it a close
    request; True when one was found in time."""
    code = """
local FindWindowW = GLibTab.User32:Get("FindWindowW", "int")
local PostMessageW = GLibTab.User32:Get("PostMessageW", "int")
local Sleep = GLibTab.kernel32:Get("Sleep", "int")
local class = WString.New(nil, %s)
for _ = 1, %d do
  local window = FindWindowW(class, nil)
  if window ~= 0 then
    PostMessageW(window, 16, 0, 0)
    print("closed")
    return
  end
  Sleep(250)
end
""" % (lua_string(window_class), timeout * 4)
    return "closed" in run_lua(code, timeout=timeout + 60).stdout


def lua_string(text):
    """A Lua long-bracket-free string literal for a path or text."""
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def wait_until(condition, timeout=30, interval=0.2):
    """Asks `condition` again and again until it gives a true value or the
    time is up; its last answer."""
    deadline = time.monotonic() + timeout
    while True:
        answer = condition()
        if answer or time.monotonic() >= deadline:
            return answer
        time.sleep(interval)


def wait_for_file(path, timeout=60):
    return wait_until(lambda: os.path.exists(path), timeout, interval=0.05)


DRIVE_FIXED = 3
DRIVE_REMOTE = 4
DRIVE_CDROM = 5


def _map_drive(*args):
    # Wine's mount manager now and then refuses a request on a busy machine
    # and takes the same one a moment later.
    for _ in range(3):
        completed = subprocess.run([WINE, build_path("tests", "helpers", "map_drive.exe"), *args],
                                   env=env(WINEDEBUG="-all"), capture_output=True, timeout=60)
        if completed.returncode == 0:
            return
        time.sleep(1.0)
    raise RuntimeError("map_drive %s failed: %d" % (" ".join(args), completed.returncode))


def _dosdevice(letter):
    return os.path.join(PREFIX, "dosdevices", letter.lower() + ":")


@contextlib.contextmanager
def mapped_drive(letter, folder, drive_type=DRIVE_FIXED):
    """Maps a drive letter to a Unix folder for the length of the block,
    through Wine's mount manager (tests/helpers/map_drive.exe), with the
    drive type that GetDriveTypeW is to report."""
    if os.path.lexists(_dosdevice(letter)):
        raise RuntimeError("drive %s: is already mapped" % letter)
    _map_drive(letter + ":", os.path.abspath(folder), str(drive_type))
    try:
        yield
    finally:
        _map_drive(letter + ":")


@contextlib.contextmanager
def drive_type_as(letter, drive_type):
    """Gives one of the prefix's own drives another type for the length of
    the block; it is a fixed drive again afterwards."""
    folder = os.path.realpath(_dosdevice(letter))
    _map_drive(letter + ":", folder, str(drive_type))
    try:
        yield
    finally:
        _map_drive(letter + ":", folder, str(DRIVE_FIXED))


def drive_type(letter):
    """The drive type number a program gets from GetDriveTypeW."""
    completed = subprocess.run([WINE, build_path("tests", "helpers", "drive_type.exe"), letter + ":"],
                               env=env(WINEDEBUG="-all"), capture_output=True, encoding="utf-8", timeout=60)
    return int(completed.stdout.strip() or 0)


def user_folder(*parts):
    """A folder of the prefix's user profile (drive_c/users/<name>/...)."""
    matches = [p for p in glob.glob(os.path.join(PREFIX, "drive_c", "users", "*"))
               if os.path.basename(p) != "Public"]
    return os.path.join(matches[0], *parts)


def reg(*args):
    """Runs Wine's own reg tool in the prefix: an independent view of the registry."""
    return subprocess.run([WINE, "reg", *args], env=env(WINEDEBUG="-all"),
                          capture_output=True, encoding="utf-8", errors="replace")


def reg_value(key, value):
    """A registry value as `reg query` prints it, as (type, data), or None when it is absent."""
    completed = reg("query", key, "/v", value)
    if completed.returncode != 0:
        return None
    for line in completed.stdout.splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) >= 2 and parts[0] == value:
            return parts[1], parts[2] if len(parts) == 3 else ""
    return None


def reg_query(key, value):
    """A registry value's data as `reg query` prints it, or None when it is absent."""
    found = reg_value(key, value)
    return found[1] if found else None


def reg_key_exists(key):
    return reg("query", key).returncode == 0


def reg_export(key):
    """The key as `reg export` writes it (UTF-16, so texts outside the
    console's code page survive), or None when it cannot be exported."""
    with tempfile.TemporaryDirectory(prefix="neb-reg-") as folder:
        path = os.path.join(folder, "export.reg")
        if reg("export", key, windows_path(path), "/y").returncode != 0:
            return None
        with open(path, "rb") as f:
            return f.read().decode("utf-16")


class ListenWindow:
    """The listen_window helper: a window that records message 3014."""

    def __init__(self, window_class=None, seconds=60, hang=0):
        args = ["--seconds", str(seconds), "--hang", str(hang)]
        if window_class:
            args += ["--class", window_class]
        self.process = start(build_path("tests", "helpers", "listen_window.exe"), args)
        first = self.process.stdout.readline().split()
        if len(first) != 2 or first[0] != "hwnd":
            raise RuntimeError("listen_window did not start: %r" % first)
        self.handle = int(first[1])

    def received(self, timeout=60):
        stdout, _ = self.process.communicate(timeout=timeout)
        return [line for line in stdout.splitlines() if line.startswith("received")]

    def next_line(self):
        """The next line the helper printed, while it still runs (a hanging
        listener prints before it hangs)."""
        return self.process.stdout.readline().strip()

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


class BoxAnswer:
    """The box_answer helper: reads a message box's text and buttons and
    presses a button, OK unless `button` names another ("abort", "retry",
    "ignore", ...).

    With `hold`, the button is pressed only when press() is called, after
    shown_text() has seen the box, so a test can change things while the box
    is up. The helper returns only once the box has closed.
    """

    def __init__(self, caption, seconds=60, button=None, hold=False):
        args = [caption, "--seconds", str(seconds)]
        if button:
            args += ["--button", button]
        if hold:
            args.append("--hold")
        self.process = start(build_path("tests", "helpers", "box_answer.exe"), args,
                             stdin=subprocess.PIPE if hold else None)
        self._stdout = None

    def _answered(self, timeout):
        if self._stdout is None:
            self._stdout, _ = self.process.communicate(timeout=timeout)
        return self.process.returncode == 0

    def text(self, timeout=90):
        """The box's message text, or None when no box appeared."""
        if not self._answered(timeout):
            return None
        body = self._stdout.split("text-begin\n", 1)[1]
        return body.rsplit("\ntext-end", 1)[0]

    def text_if_shown(self):
        """Once the program that would show the box has ended: the box's
        text, or None when it showed none. A box holds its program until it
        is answered, and the helper prints the text before it answers, so
        by then nothing more can come: no need to wait out its seconds."""
        if self.process.poll() is not None or select.select([self.process.stdout], [], [], 0)[0]:
            return self.text()
        self.close()
        return None

    def buttons(self, timeout=90):
        """The ids of the box's visible buttons (IDOK 1, IDCANCEL 2, ...),
        or None when no box appeared."""
        if not self._answered(timeout):
            return None
        line = self._stdout.rsplit("\ntext-end\n", 1)[1].splitlines()[0]
        return [int(part) for part in line[len("buttons:"):].split()]

    def close(self):
        """Stops waiting for a box that may never come. The pipes are closed
        rather than read to their end: a Wine process that the helper
        started (the desktop's explorer.exe) may hold them open long after."""
        if self._stdout is None:
            if self.process.poll() is None:
                self.process.kill()
            self.process.wait()
            self.process.stdout.close()
            self.process.stderr.close()
            self._stdout = ""

    def shown_text(self):
        """With `hold`: waits for the box and returns its text, or None when
        no box appeared in time."""
        if self.process.stdout.readline() != "text-begin\n":
            return None
        lines = []
        for line in self.process.stdout:
            if line == "text-end\n":
                return "\n".join(lines)
            lines.append(line.rstrip("\n"))
        return None

    def press(self, timeout=90):
        """With `hold`: presses the button; true once the box has closed."""
        self.process.communicate("\n", timeout=timeout)
        return self.process.returncode == 0


class HeldFile:
    """The hold_file helper: keeps a file open without delete sharing, the
    way a running program holds its files (exclusive: without any sharing),
    until release()."""

    def __init__(self, windows_path, exclusive=False):
        self._releasing = threading.Lock()
        args = ["--exclusive", windows_path] if exclusive else [windows_path]
        self.process = start(build_path("tests", "helpers", "hold_file.exe"), args,
                             stdin=subprocess.PIPE)
        if self.process.stdout.readline().strip() != "held":
            self.process.kill()
            self.process.wait()
            raise RuntimeError("hold_file could not open %s" % windows_path)

    def release(self):
        # A test may release from a timer thread while it waits in another.
        with self._releasing:
            if self.process.poll() is None:
                self.process.communicate("\n", timeout=60)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.release()


def window_geometry(title, timeout=60):
    """(left, top, width, height) of the visible top-level window with that title."""
    def geometry():
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % title],
                               capture_output=True, text=True, timeout=30).stdout.split()
        if not found:
            return None
        shape = subprocess.run(["xdotool", "getwindowgeometry", "--shell", found[0]], capture_output=True,
                               text=True, timeout=30).stdout
        values = dict(line.split("=", 1) for line in shape.split())
        # A window that went between the search and the question (one that
        # Wine made and replaced while mapping it) is looked for again.
        if "X" not in values:
            return None
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])
    found = wait_until(geometry, timeout, interval=0.3)
    if not found:
        raise AssertionError("no window titled %s" % title)
    return found
