"""Drives the Windows programs of the build under Wine for end-to-end tests.

tools/test.sh prepares one Wine prefix (and an X display) for the whole test
run and exports WINEPREFIX, DISPLAY and NEB_BUILD_DIR; every program started
here runs in that prefix, with its debugger output captured from Wine's
debug channel.
"""
import contextlib
import glob
import os
import re
import shutil
import subprocess
import tempfile
import time

WINE = "/usr/lib/wine/wine64"
BUILD_DIR = os.environ.get("NEB_BUILD_DIR", "")
PREFIX = os.environ.get("WINEPREFIX", "")

# Wine 8 reports OutputDebugString text on the "seh" channel at warn level,
# escaped the way its debugstr_a() escapes.
DEBUG_CHANNEL = "warn+seh"
_DEBUG_LINE = re.compile(r'^[0-9a-f]+:warn:seh:OutputDebugStringA "(.*)"$')
_ESCAPES = {"n": "\n", "r": "\r", "t": "\t", '"': '"', "\\": "\\"}

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


def run(program, args=(), timeout=120, **extra_env):
    completed = subprocess.run([WINE, program, *args], env=env(**extra_env),
                               capture_output=True, timeout=timeout,
                               encoding="utf-8", errors="replace")
    return Result(completed.returncode, completed.stdout, completed.stderr)


def start(program, args=(), **extra_env):
    return subprocess.Popen([WINE, program, *args], env=env(**extra_env),
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                            encoding="utf-8", errors="replace")


def finish(process, timeout=120):
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
        return run(build_path("tools", "nebscript", "nebscript.exe"), [windows_path(script), *args],
                   timeout=timeout, **extra_env)
    finally:
        os.remove(script)


def lua_string(text):
    """A Lua long-bracket-free string literal for a path or text."""
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def wait_for_file(path, timeout=60):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if os.path.exists(path):
            return True
        time.sleep(0.05)
    return False


DRIVE_FIXED = 3
DRIVE_REMOTE = 4
DRIVE_CDROM = 5


def _map_drive(*args):
    completed = subprocess.run([WINE, build_path("tests", "helpers", "map_drive.exe"), *args],
                               env=env(WINEDEBUG="-all"), capture_output=True, timeout=60)
    if completed.returncode != 0:
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


def reg_query(key, value):
    """A registry value as `reg query` prints it, or None when it is absent."""
    completed = subprocess.run([WINE, "reg", "query", key, "/v", value], env=env(WINEDEBUG="-all"),
                               capture_output=True, encoding="utf-8", errors="replace")
    if completed.returncode != 0:
        return None
    for line in completed.stdout.splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) >= 2 and parts[0] == value:
            return parts[2] if len(parts) == 3 else ""
    return None


class ListenWindow:
    """The listen_window helper: a window that records message 3014."""

    def __init__(self, window_class=None, seconds=60):
        args = ["--seconds", str(seconds)]
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

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


class BoxAnswer:
    """The box_answer helper: reads a message box's text and presses OK."""

    def __init__(self, caption, seconds=60):
        self.process = start(build_path("tests", "helpers", "box_answer.exe"),
                             [caption, "--seconds", str(seconds)])

    def text(self, timeout=90):
        stdout, _ = self.process.communicate(timeout=timeout)
        if self.process.returncode != 0:
            return None
        body = stdout.split("text-begin\n", 1)[1]
        return body.rsplit("\ntext-end", 1)[0]
