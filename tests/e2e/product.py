"""The sample product installed by the shipped install script, read back
from the system: registry records, files, shortcuts, the service, the
product's own event record and the installer's daily log. Shared by the
end-to-end tests and the main job (tools/main-job.sh)."""
import os
import subprocess
import tempfile
import time

import neb
import pe_resources

PRODUCT_KEY = "SOFTWARE\\Lumetrica"
UNINSTALL_KEY = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumetrica"
RUN_KEY = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
APPROVED_RUN_KEY = "HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run"
SERVICE = "LumetricaServer"
DEFAULT_FOLDER = "C:\\Program Files\\Orrinthwake"

# The install script's registry records, in the order it writes them.
RECORDS = [
    ("HKLM", PRODUCT_KEY, "AppPath"), ("HKLM", PRODUCT_KEY, "UnionId"),
    ("HKLM", PRODUCT_KEY, "OEMUnionId"), ("HKLM", PRODUCT_KEY, "OemID"), ("HKLM", PRODUCT_KEY, "UserID"),
    ("HKCU", PRODUCT_KEY, "AppPath"), ("HKCU", PRODUCT_KEY, "UnionId"),
    ("HKCU", PRODUCT_KEY, "OEMUnionId"), ("HKCU", PRODUCT_KEY, "OemID"), ("HKCU", PRODUCT_KEY, "UserID"),
    ("HKCU", PRODUCT_KEY, "DisplayVersion"), ("HKCU", PRODUCT_KEY, "wpupdate"),
    ("HKLM", UNINSTALL_KEY, "DisplayIcon"), ("HKLM", UNINSTALL_KEY, "DisplayName"),
    ("HKLM", UNINSTALL_KEY, "DisplayVersion"), ("HKLM", UNINSTALL_KEY, "EstimatedSize"),
    ("HKLM", UNINSTALL_KEY, "NoModify"), ("HKLM", UNINSTALL_KEY, "NoRepair"),
    ("HKLM", UNINSTALL_KEY, "Publisher"), ("HKLM", UNINSTALL_KEY, "UninstallString"),
    ("HKLM", UNINSTALL_KEY, "QuietUninstallString"),
    ("HKLM", UNINSTALL_KEY, "InstallLocation"), ("HKLM", UNINSTALL_KEY, "InstallDate"),
]

SERVICE_STATES = {1: "stopped", 2: "start pending", 3: "stop pending", 4: "running"}


SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
NEBPACK_VARIANT = "nebpack_installer"
# The same, made by nebpack's Linux build (build/linux/nebpack).
NEBPACK_LINUX_VARIANT = "nebpack_linux_installer"
LINUX_NEBPACK = os.path.join(SOURCE_DIR, "build", "linux", "nebpack")
# The shipped program of the build's target (out/x86 or out/x64), whose
# statistics go to its deployment hosts, which no test reaches.
SHIPPED_VARIANT = "shipped"
# The installer the product tests run unless a test names another: the
# collector installer, or the one NEB_INSTALLER_VARIANT names (the 32-bit
# lane runs the shipped program).
DEFAULT_VARIANT = os.environ.get("NEB_INSTALLER_VARIANT", "collector_installer")


def nebpack(args, timeout=300):
    """Runs nebpack.exe under Wine; or, with NEB_NEBPACK_BUILD=linux (its
    suite run once more), nebpack's Linux build, the Z: paths made Unix ones."""
    if os.environ.get("NEB_NEBPACK_BUILD") == "linux":
        return linux_nebpack_run([arg[2:].replace("\\", "/") if arg.startswith("Z:\\") else arg for arg in args],
                                 timeout)
    return neb.run(neb.build_path("tools", "nebpack", "nebpack.exe"), args, timeout=timeout)


def linux_nebpack_run(args, timeout=300):
    return subprocess.run([LINUX_NEBPACK, *args], capture_output=True, text=True, timeout=timeout)


def nebpack_inputs(folder):
    """The options that make the sample product's test installer with
    nebpack from the x86-64 installer program: the shipped settings and
    skin, and the shipped install and uninstall scripts with the collector's
    endpoints set first (settings may not read the environment)."""
    with open(os.path.join(SOURCE_DIR, "tests", "e2e", "scripts", "collector_settings.lua"), encoding="utf-8") as f:
        collector_settings = f.read()
    scripts = {}
    for option, name in [("--install", "instscript.lua"), ("--uninstall", "uninstscript.lua")]:
        with open(os.path.join(SOURCE_DIR, "scripts", name), encoding="utf-8") as f:
            source = f.read()
        scripts[option] = os.path.join(folder, name)
        with open(scripts[option], "w", encoding="utf-8") as f:
            f.write(collector_settings + "\n" + source)
    return {"--product": neb.build_path("product", "payload"),
            "--settings": os.path.join(SOURCE_DIR, "scripts", "global_var.lua"),
            "--install": scripts["--install"], "--uninstall": scripts["--uninstall"],
            "--skin": os.path.join(SOURCE_DIR, "res", "skin"),
            "--base": neb.build_path("app", "NEBInstaller.exe")}


def nebpack_arguments(options, output):
    args = []
    for option, path in options.items():
        args += [option, neb.windows_path(path)]
    return args + ["-o", neb.windows_path(output)]


def linux_nebpack(options, output):
    """Runs nebpack's Linux build with the options, Unix paths."""
    args = []
    for option, path in options.items():
        args += [option, path]
    return linux_nebpack_run(args + ["-o", output])


_nebpack_installers = {}
# Removed when the process ends.
_nebpack_folders = []


def nebpack_installer(variant=NEBPACK_VARIANT):
    """The sample product's test installer made by nebpack (its Windows or
    its Linux build), once per run."""
    if variant not in _nebpack_installers:
        folder = tempfile.TemporaryDirectory(prefix="neb-nebpack-")
        _nebpack_folders.append(folder)
        output = os.path.join(folder.name, "setup.exe")
        inputs = nebpack_inputs(folder.name)
        if variant == NEBPACK_LINUX_VARIANT:
            result = linux_nebpack(inputs, output)
        else:
            result = nebpack(nebpack_arguments(inputs, output))
        if result.returncode != 0:
            raise RuntimeError("nebpack failed: " + result.stdout + result.stderr)
        _nebpack_installers[variant] = output
    return _nebpack_installers[variant]


def installer_program(variant=DEFAULT_VARIANT):
    if variant in (NEBPACK_VARIANT, NEBPACK_LINUX_VARIANT):
        return nebpack_installer(variant)
    if variant == SHIPPED_VARIANT:
        return os.path.join(SOURCE_DIR, "out", os.path.basename(os.path.normpath(neb.BUILD_DIR)), "NEBInstaller.exe")
    return neb.build_path("tests", "e2e", variant + ".exe")


def installer(name="setup.exe", variant=DEFAULT_VARIANT):
    """A fresh copy of the installer whose endpoints are the collector's
    (damaged_payload_installer: the same with a damaged payload;
    nebpack_installer: the same product made by nebpack; shipped: the
    shipped program)."""
    return neb.stage(installer_program(variant), name)


def collector_env(collector):
    return {"NEB_COLLECTOR_HOST": "127.0.0.1", "NEB_COLLECTOR_UDP_PORT": collector.udp_port,
            "NEB_COLLECTOR_HTTP_PORT": collector.http_port,
            "RKSTAT_DISPATCH": "127.0.0.1:%s" % collector.udp_port}


def unix_path(windows_path):
    """The Unix path of a C: path of the prefix."""
    assert windows_path[:3].upper() == "C:\\", windows_path
    return os.path.join(neb.PREFIX, "drive_c", *windows_path[3:].split("\\"))


def records():
    """(root, key, value, type, data) of every record, None for type and
    data when the value is absent."""
    found = []
    for root, key, value in RECORDS:
        entry = neb.reg_value(root + "\\" + key, value)
        found.append((root, key, value) + (entry if entry else (None, None)))
    return found


def record(root, key, value):
    return neb.reg_query(root + "\\" + key, value)


def run_value():
    return neb.reg_query(RUN_KEY, "Lumetrica")


def start_menu_folder():
    return os.path.join(neb.PREFIX, "drive_c", "ProgramData", "Microsoft", "Windows", "Start Menu", "Programs",
                        "Lumetrica")


def shortcut_files():
    """The product's links: the desktop link and the start-menu folder's."""
    return {"desktop": neb.user_folder("Desktop", "Lumetrica.lnk"),
            "start menu": os.path.join(start_menu_folder(), "Lumetrica.lnk"),
            "start menu uninstall": os.path.join(start_menu_folder(), "卸载Lumetrica.lnk")}


def read_link(path):
    """The link's fields as the shell reads them, or None without the file."""
    if not os.path.exists(path):
        return None
    result = neb.run(neb.build_path("tests", "helpers", "link_reader.exe"), [neb.windows_path(path)])
    if result.returncode != 0:
        return None
    return dict(line.split("=", 1) for line in result.stdout.splitlines() if "=" in line)


def service_state():
    """The service's state by name, or None when it is not installed."""
    # neb.run starts the query again when Wine could not start it.
    completed = neb.run(neb.build_path("tests", "helpers", "test_service.exe"), ["state", SERVICE], timeout=60)
    parts = completed.stdout.split()
    if completed.returncode != 0 or len(parts) < 2 or not parts[1].isdigit():
        return None
    return SERVICE_STATES.get(int(parts[1]), parts[1])


def remove_service(folder):
    """Stops and removes the service with the program an install left in
    the folder (a Unix path)."""
    program = os.path.join(folder, "LumetricaServer.exe")
    if os.path.exists(program):
        neb.run(program, ["--UnInstallTask"])


def product_events():
    """The lines of the product's own event record."""
    path = neb.user_folder("AppData", "Local", "Lumetrica", "events.log")
    if not os.path.exists(path):
        return []
    with open(path, encoding="utf-8") as f:
        return f.read().splitlines()


def daily_log_path():
    """Today's daily log of the installer, in the user's temporary folder."""
    return neb.user_folder("Temp", "LumetricaClientInstall_%s.log" % time.strftime("%Y-%m-%d"))


def daily_log():
    path = daily_log_path()
    if not os.path.exists(path):
        return []
    with open(path, encoding="utf-8", errors="replace") as f:
        return f.read().splitlines()


def script_log_lines(log_lines):
    """The texts the scripts wrote with Lua_Logout, in order."""
    marker = "Lua_Logout: "
    texts = []
    for line in log_lines:
        if marker in line and "] log:" in line:
            texts.append(line.split("] log:", 1)[1])
    return texts


def installed_tree(folder):
    """Relative paths of everything in the folder, sorted."""
    found = []
    for dirpath, dirnames, filenames in os.walk(folder):
        for name in dirnames + filenames:
            found.append(os.path.relpath(os.path.join(dirpath, name), folder))
    return sorted(found)


def chunk(name, variant=DEFAULT_VARIANT):
    """An embedded chunk ("GLOBAL_VAR.LUAC", "UNINSTSCRIPT.LUAC") of the installer."""
    return pe_resources.resource(installer_program(variant), "LUA", name)


def replace_in(path, old, new):
    """Replaces the first `old` in a UTF-8 text file; `old` must be there."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    assert old in text, (path, old)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text.replace(old, new, 1))
