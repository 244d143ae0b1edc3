"""Silent installs of the sample product with the shipped scripts under Wine:
a fresh install, an install over an earlier one, the file-name and
command-line options, files in use, autostart, a payload file, an old
Windows version, and the bad inputs. The installer is the shipped one with
its statistics endpoints at a local collector (collector_installer); every
check reads the system back."""
import os
import shutil
import socket
import time

import collector
import neb
import product
from product_cases import FOLDER, SILENT, VARIANTS, ProductCase, SharedInstallCase

SCRIPT_ERROR_CAPTION = neb.CASE_SCRIPT_ERROR
INSTALL_CAPTION = "Lumetrica - 安装"
MARKERS = ["NEBSE_OnInstall_%d" % n for n in (1, 2, 3, 5, 6, 7, 8, 11, 12, 14, 15, 16, 17)]


@VARIANTS
class TestFreshInstall(SharedInstallCase):
    def test_a_fresh_silent_install(self):
        result = self.installed
        self.assertEqual(result.returncode, 0)
        folder = product.unix_path(FOLDER)

        # The default folder: no earlier install and no "/path:" switch.
        self.assertEqual(product.installed_tree(folder), sorted([
            "Lumetrica.exe", "LumetricaServer.exe", "Uninstall.exe", "hostaid.dll", "rkstat.dll",
            "readme.txt", "docs", os.path.join("docs", "guide.txt"), "Uninst.dar0", "Uninst.dar1",
            "Uninst.lst", "Data"]))
        # The record of what the install wrote, for an uninstall that cannot
        # tell the folder is the product's alone.
        with open(os.path.join(folder, "Uninst.lst"), encoding="utf-8") as f:
            record = f.read().splitlines()
        self.assertEqual(record[0], "NEBInstaller install record")
        self.assertEqual(sorted(record[1:]), sorted([
            "Lumetrica.exe", "LumetricaServer.exe", "Uninstall.exe", "hostaid.dll", "rkstat.dll",
            "readme.txt", "docs\\", "docs\\guide.txt", "Uninst.dar0", "Uninst.dar1", "Uninst.lst", "Data\\"]))
        for file_name, chunk in [("Uninst.dar0", "GLOBAL_VAR.LUAC"), ("Uninst.dar1", "UNINSTSCRIPT.LUAC")]:
            with open(os.path.join(folder, file_name), "rb") as f:
                self.assertEqual(f.read(), product.chunk(chunk, self.VARIANT), file_name)

        program = FOLDER + "\\Lumetrica.exe"
        today = time.strftime("%Y%m%d")
        expected = [
            ("REG_SZ", FOLDER), ("REG_DWORD", "0x6994"), ("REG_DWORD", "0xfa1"), ("REG_DWORD", "0x1"),
            ("REG_BINARY", None),
            ("REG_SZ", FOLDER), ("REG_DWORD", "0x6994"), ("REG_DWORD", "0xfa1"), ("REG_DWORD", "0x1"),
            ("REG_BINARY", None), ("REG_SZ", "2.0.0.14"), ("REG_DWORD", "0x1"),
            ("REG_SZ", program), ("REG_SZ", "Lumetrica"), ("REG_SZ", "2.0.0.14"),
            ("REG_DWORD", hex(182958560 // 1024)), ("REG_DWORD", "0x1"), ("REG_DWORD", "0x1"),
            ("REG_SZ", "Orrinthwake"),
            # Command lines, for the Apps list and for package managers and
            # administrators, who run the quiet one.
            ("REG_SZ", '"%s\\Uninstall.exe"' % FOLDER), ("REG_SZ", '"%s\\Uninstall.exe" /S' % FOLDER),
            ("REG_SZ", FOLDER), ("REG_SZ", today),
        ]
        self.assertEqual(len(product.records()), len(expected))
        for (root, key, value, kind, data), (want_kind, want_data) in zip(product.records(), expected):
            with self.subTest(record=root + "\\" + key + " " + value):
                self.assertEqual(kind, want_kind)
                if want_data is not None:
                    self.assertEqual(data, want_data)
        self.assertEqual(product.run_value(), program + " /startup system /s")

        links = {name: product.read_link(path) for name, path in product.shortcut_files().items()}
        self.assertEqual(links["desktop"]["path"], program)
        self.assertEqual(links["desktop"]["folder"], FOLDER)
        self.assertEqual((links["start menu"]["path"], links["start menu"]["arguments"]), (program, "/menu"))
        self.assertEqual(links["start menu uninstall"]["path"], FOLDER + "\\Uninstall.exe")

        self.assertEqual(product.service_state(), "running")

        self.assertEqual([line for line in result.script_log if line.startswith("NEBSE_OnInstall_")], MARKERS)
        # Nothing of the product ran: the install did not wait for it.
        self.assertEqual([line for line in result.script_log if line.startswith("ended processes")], [])
        self.assertEqual(result.script_log[0], "script_version:1.0.2.57")

        if self.VARIANT == product.SHIPPED_VARIANT:
            return  # its reports go to the deployment hosts
        records = result.stat_records
        udp = [r["data"] for r in records if r["via"] == "udp"]
        http = [(r["path"], r["body"]) for r in records if r["via"] == "http"]
        self.assertEqual(len(udp), 1, records)
        self.assertIn('"event":"install"', udp[0])
        self.assertIn('"level":2,"type":1}', udp[0])
        self.assertEqual([path for path, _ in http], ["/api/InstallStat"])
        self.assertIn('"event":"report"', http[0][1])

    def test_the_running_product_records_message_3023(self):
        self.start_product()
        post = ("local user32 = GLibTab.user32\n"
                "local window = 0\n"
                "for _ = 1, 100 do\n"
                "  window = user32:Get('FindWindowW', 'uint')(WString.New(nil, 'Lumetrica'), nil)\n"
                "  if window ~= 0 then break end\n"
                "  GLibTab.kernel32:Get('Sleep')(100)\n"
                "end\n"
                "print((user32:Get('PostMessageW', 'bool')(window, 3023, 7, 9)))\n")
        self.assertEqual(neb.run_lua(post).stdout.strip(), "true")
        neb.wait_until(lambda: "message 3023 wparam=7 lparam=9" in product.product_events())
        self.assertEqual(product.product_events(), ["start /menu", "message 3023 wparam=7 lparam=9"])


@VARIANTS
class TestCoverInstall(ProductCase):
    def test_the_earlier_install_location_is_reused(self):
        earlier = "C:\\Apps\\Lumetrica"
        self.addCleanup(shutil.rmtree, product.unix_path(earlier), ignore_errors=True)
        self.install(["/path:" + earlier] + SILENT)
        self.assertInstalledIn(earlier)
        result = self.install()
        self.assertEqual(result.returncode, 0)
        self.assertInstalledIn(earlier)
        self.assertFalse(os.path.exists(product.unix_path(FOLDER)))

    def test_channel_values_over_an_earlier_install(self):
        cases = [
            # earlier channel, settings of the second install, UnionId afterwards
            (300, None, 300),
            (300, "global_cover_unionId = true", 555),
            (4999, None, 555),
        ]
        for earlier, settings, expected in cases:
            with self.subTest(earlier=earlier, settings=settings):
                self.reset_system()
                self.install(["-uid=%d" % earlier] + SILENT)
                self.fresh_collector()
                result = self.install(["-uid=555"] + SILENT, settings=settings)
                self.assertEqual(result.returncode, 0)
                self.assertEqual(self.union_ids(), [hex(expected), hex(4001)] * 2)
                # Installed over an earlier channel: the report says so.
                self.assertIn("cover install!!!", result.script_log)
                udp = [r["data"] for r in self.stat_records(2) if r["via"] == "udp"]
                self.assertEqual(len(udp), 1)
                self.assertIn('"type":3}', udp[0])

    def test_covering_another_channel_can_be_refused(self):
        self.install(["-uid=300"] + SILENT)
        shutil.rmtree(os.path.join(product.unix_path(FOLDER), "docs"))
        for settings, covered in [("global_disable_cover = true", False), ("global_disable_cover = false", True)]:
            with self.subTest(settings=settings):
                result = self.install(settings=settings)
                self.assertEqual(result.returncode, 0)
                self.assertEqual(os.path.isdir(os.path.join(product.unix_path(FOLDER), "docs")), covered)
                self.assertEqual("NEBSE_OnInstall_1" in result.script_log, covered)


class TestOptions(ProductCase):
    def test_command_line_and_file_name_channel(self):
        cases = [
            # file name, arguments, settings, UnionId, OEMUnionId
            ("setup.exe", ["-uid=300"], None, 300, 4001),
            ("setup.exe", ["-uid:301"], None, 301, 4001),
            ("setup.exe", ["/uid:302"], None, 302, 4001),
            ("Lumetrica_1234_tabc.exe", [], "global_disable_analyze_params_from_file_name = false", 1234, 4001),
            ("Lumetrica_1234_tabc.exe", [], None, 27028, 4001),
            ("Lumetrica_99_x.exe", [], "global_disable_analyze_params_from_file_name = false", 27028, 4001),
            ("Lumetrica_1234.exe", [], "global_disable_analyze_params_from_file_name = false", 27028, 4001),
            ("setup_x-5678.exe", [], None, 27028, 5678),
        ]
        for name, args, settings, union_id, oem_union_id in cases:
            with self.subTest(name=name, args=args, settings=settings):
                self.reset_system()
                self.install(args + SILENT, name=name, settings=settings)
                self.assertEqual(product.record("HKCU", product.PRODUCT_KEY, "UnionId"), hex(union_id))
                self.assertEqual(product.record("HKCU", product.PRODUCT_KEY, "OEMUnionId"), hex(oem_union_id))

    def test_install_folder_from_the_command_line(self):
        target = "C:\\Apps\\Chosen"
        self.addCleanup(shutil.rmtree, product.unix_path("C:\\Apps"), ignore_errors=True)
        self.install(["-path=" + target] + SILENT)
        self.assertInstalledIn(target)

    def test_silent_and_shortcut_codes(self):
        # The shortcut codes apply only when the script itself chose the
        # silent install, so a desktop link shows whether it did.
        enabled = "global_enable_ss_install = true"
        cases = [
            # file name, arguments, settings, desktop link, product started
            ("Lumetrica@stt.exe", [], enabled, True, False),
            ("Lumetrica@STT@dtc.exe", [], enabled, False, False),
            ("Lumetrica@st@dtc.exe", [], enabled, False, True),
            ("Lumetrica@stt@dtc@dto.exe", [], enabled, False, False),
            ("Lumetrica@stt@dto.exe", [], enabled, True, False),
            ("setup@dtc.exe", ["/s"], enabled, False, False),
            ("setup@dtc.exe", ["-s"], enabled, False, False),
            ("setup@dtc.exe", ["/s"] + SILENT, None, True, False),
            ("Lumetrica@stt@dtc.exe", SILENT, None, True, False),
        ]
        for name, args, settings, desktop, started in cases:
            with self.subTest(name=name, args=args, settings=settings):
                self.reset_system()
                result = self.install(args, name=name, settings=settings)
                self.assertEqual(result.returncode, 0)
                self.assertInstalledIn(FOLDER)
                self.assertEqual(os.path.exists(product.shortcut_files()["desktop"]), desktop)
                if started:
                    neb.wait_until(product.product_events)
                self.assertEqual(product.product_events()[:1], ["start "] if started else [])

    def test_no_autostart_removes_an_earlier_one(self):
        self.install()
        neb.reg("add", product.APPROVED_RUN_KEY, "/v", "Lumetrica", "/t", "REG_BINARY", "/d", "02", "/f")
        self.assertIsNotNone(product.run_value())
        result = self.install([], name="setup@stt@swc.exe", settings="global_enable_ss_install = true")
        self.assertEqual(result.returncode, 0)
        self.assertIsNone(product.run_value())
        self.assertIsNone(neb.reg_query(product.APPROVED_RUN_KEY, "Lumetrica"))


class TestRunningProduct(ProductCase):
    def test_a_running_product_is_closed_without_a_question(self):
        self.install()
        running = self.start_product()
        box = neb.BoxAnswer(INSTALL_CAPTION, seconds=30)
        self.addCleanup(box.close)
        result = self.install()
        self.assertEqual(result.returncode, 0)
        running.wait(timeout=30)
        self.assertIn("exit", product.product_events())
        self.assertIsNone(box.text_if_shown())
        # The install went on once the ended product had exited, within the
        # two seconds it may wait, and before it wrote the product's files.
        waits = [line for line in result.script_log if line.startswith("ended processes")]
        self.assertEqual(len(waits), 1, result.script_log)
        self.assertRegex(waits[0], r"^ended processes gone after \d+ ms$")
        self.assertLessEqual(int(waits[0].split()[-2]), 2000)
        self.assertLess(result.script_log.index(waits[0]), result.script_log.index("NEBSE_OnInstall_1"))


class TestFilesInUse(ProductCase):
    def hold_library(self, windows_path):
        """Loads the library in another process until the returned function
        is called."""
        flag = os.path.join(self.work, "held.flag")
        holder = neb.start(neb.build_path("tools", "nebscript", "nebscript.exe"),
                           [neb.windows_path(os.path.join(os.path.dirname(__file__), "lua", "hold_library.lua")),
                            windows_path, neb.windows_path(flag)])
        self.assertEqual(holder.stdout.readline().strip(), "held")

        def release():
            if os.path.exists(flag):
                os.remove(flag)
            holder.communicate(timeout=60)
        self.addCleanup(release)
        return release

    def moved_aside(self, result, path):
        """The name the script moved the file to, from its log."""
        for number, line in enumerate(result.script_log):
            if line.startswith(path + "  ") and line.endswith(":32"):
                return result.script_log[number + 1]
        self.fail("%s was not moved aside: %s" % (path, result.script_log))

    def pending_renames(self):
        return neb.reg_query("HKLM\\System\\CurrentControlSet\\Control\\Session Manager",
                             "PendingFileRenameOperations") or ""

    def test_a_file_in_use_is_moved_aside_and_deleted_at_restart(self):
        self.install()
        library = FOLDER + "\\hostaid.dll"
        release = self.hold_library(library)
        result = self.install()
        release()
        self.assertEqual(result.returncode, 0)
        aside = self.moved_aside(result, library)
        self.assertRegex(aside, r"^C:\\users\\[^\\]+\\Temp\\Tqm.*\.tmp$")
        self.assertIn(aside, self.pending_renames())
        with open(product.unix_path(library), "rb") as f, \
                open(neb.build_path("product", "payload", "hostaid.dll"), "rb") as built:
            self.assertEqual(f.read(), built.read())
        self.assertIn("NEBSE_OnInstall_17", result.script_log)

    def test_on_another_drive_files_go_to_del_reboot_beside_the_install_folder(self):
        drive = os.path.join(self.work, "drive_d")
        os.makedirs(drive)
        target = "D:\\Apps\\Lumetrica"
        del_reboot = os.path.join(drive, "Apps", "del_reboot")
        with neb.mapped_drive("D", drive):
            # Nothing in use: the folder is made and removed again.
            self.install(["/path:" + target] + SILENT)
            self.assertEqual(product.record("HKLM", product.UNINSTALL_KEY, "InstallLocation"), target)
            self.assertFalse(os.path.exists(del_reboot))
            # A file in use is moved there; while it is held the folder
            # stays, scheduled for removal at the next restart.
            release = self.hold_library(target + "\\hostaid.dll")
            result = self.install()
            left = os.listdir(del_reboot)
            release()
            product.remove_service(os.path.join(drive, "Apps", "Lumetrica"))
        self.assertEqual(result.returncode, 0)
        aside = self.moved_aside(result, target + "\\hostaid.dll")
        self.assertTrue(aside.startswith("D:\\Apps\\del_reboot\\Tqm"), aside)
        self.assertEqual(left, [aside.rsplit("\\", 1)[1]])
        self.assertIn(aside, self.pending_renames())
        self.assertIn("D:\\Apps\\del_reboot", self.pending_renames())


class TestPayloadFile(ProductCase):
    def test_install_pack_file_extracts_that_archive_and_writes_no_uninstall_scripts(self):
        archive = self.make_archive()
        result = self.install(settings=self.pack_file_settings(archive))
        self.assertEqual(result.returncode, 0)
        files = product.installed_tree(product.unix_path(FOLDER))
        self.assertIn("Lumetrica.exe", files)
        self.assertNotIn("Uninst.dar0", files)
        self.assertNotIn("Uninst.dar1", files)
        self.assertInstalledIn(FOLDER)


class TestOldWindows(ProductCase):
    def test_windows_before_version_6_is_refused(self):
        key = "HKCU\\Software\\Wine\\AppDefaults\\oldwin.exe"
        neb.reg("add", key, "/v", "Version", "/d", "winxp64", "/f")
        self.addCleanup(neb.reg, "delete", key, "/f")
        box = neb.BoxAnswer("", seconds=60)
        self.addCleanup(box.close)
        result = self.install(name="oldwin.exe")
        self.assertEqual(result.returncode, 0)
        self.assertEqual(box.text(), "Lumetrica 目前只支持WIN7和更新的Windows操作系统！")
        self.assertFalse(os.path.exists(product.unix_path(FOLDER)))
        self.assertIsNone(product.record("HKLM", product.UNINSTALL_KEY, "InstallLocation"))


class TestBadInput(ProductCase):
    def test_a_damaged_payload_ends_with_the_extraction_message(self):
        archive = self.make_archive()
        with open(archive, "r+b") as f:
            f.seek(os.path.getsize(archive) // 2)
            byte = f.read(1)
            f.seek(-1, os.SEEK_CUR)
            f.write(bytes([byte[0] ^ 0xFF]))
        cases = [
            ("the embedded payload", "damaged_payload_installer", None),
            ("a payload file", "collector_installer", self.pack_file_settings(archive)),
        ]
        for label, variant, settings in cases:
            with self.subTest(label):
                self.reset_system()
                box = neb.BoxAnswer(INSTALL_CAPTION)
                self.addCleanup(box.close)
                result = self.install(variant=variant, settings=settings)
                self.assertEqual(result.returncode, 0)
                self.assertEqual(box.text(), "释放文件时出现错误，安装程序将终止！")
                for root, key, value, kind, _ in product.records():
                    self.assertIsNone(kind, value)
                self.assertIsNone(product.run_value())
                self.assertIsNone(product.service_state())
                self.assertNotIn("NEBSE_OnInstall_3", result.script_log)

    def test_a_missing_support_library_ends_in_the_script_error_report(self):
        archive = self.make_archive(leave_out=["hostaid.dll"])
        box = neb.BoxAnswer(SCRIPT_ERROR_CAPTION)
        self.addCleanup(box.close)
        result = self.install(settings=self.pack_file_settings(archive))
        self.assertEqual(result.returncode, 0)
        report = box.text()
        self.assertIn("attempt to index", report)
        self.assertIn("请向我们反馈以上错误信息", report)
        self.assertIsNone(product.record("HKLM", product.UNINSTALL_KEY, "InstallLocation"))

    def test_unreachable_statistics_endpoints_cost_seconds_at_most(self):
        baseline = self.install()
        self.assertEqual(len(self.stat_records(2)), 2)
        closed_udp, closed_http = collector.unused_ports()
        silent_peer = socket.socket()
        silent_peer.bind(("127.0.0.1", 0))
        silent_peer.listen(1)
        self.addCleanup(silent_peer.close)
        cases = [("nothing listens", closed_http), ("a peer that never answers", silent_peer.getsockname()[1])]
        for label, http_port in cases:
            with self.subTest(label):
                self.reset_system()
                endpoints = {"NEB_COLLECTOR_HOST": "127.0.0.1", "NEB_COLLECTOR_UDP_PORT": closed_udp,
                             "NEB_COLLECTOR_HTTP_PORT": http_port}
                result = self.install(endpoints=endpoints)
                self.assertEqual(result.returncode, 0)
                self.assertIn("NEBSE_OnInstall_17", result.script_log)
                self.assertInstalledIn(FOLDER)
                self.assertLess(result.seconds, baseline.seconds + 5, (result.seconds, baseline.seconds))
