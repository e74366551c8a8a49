#!/usr/bin/env python3
"""Runs one test of the installer under Wine: ZORFPDriverSetup.exe of one bitness, its package,
the installation database with the system installer, and downloads from servers on loopback.

  wine_setup_test.py [options] extract | quiet | run-key | http-ranges | http-no-ranges | ftp

Exit status 0 passed, 1 failed, 77 skipped. The tests share the Wine suite's prefix (tests/wine)
and leave it as they found it: the driver uninstalled, the test prerequisite and the Run value
removed.
"""

import argparse
import glob
import http.server
import os
import re
import shutil
import socket
import subprocess
import sys
import threading

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "wine"))
from wine_test import (CLASSES, LIBID, SKIP, Failure, Simulator, Skip, VirtualDisplay, Wine,  # noqa: E402
                       log, windows_path, with_port)

RUN_KEY = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
PREREQ_FOLDER = "C:\\zorfp-prereq"
PREREQ_NAME = "zorfp-prereq-setup.exe"


class Setup:
    """What one test works with: the Wine prefix, the Windows build, a folder of its own."""

    def __init__(self, args, wine):
        self.args, self.wine = args, wine
        self.dir = os.path.join(os.path.dirname(wine.prefix), "setup%d" % wine.bits)
        shutil.rmtree(self.dir, ignore_errors=True)
        os.makedirs(self.dir)
        self.helper = os.path.join(args.build, "tests", "setup", "programs", "setup_helper.exe")
        self.image = os.path.join(args.build, "src", "setup", "ZORFPDriverSetup.exe")
        self.msi = os.path.join(args.build, "src", "setup", "package", "ZORFPdriver.msi")
        self.cab = os.path.join(args.build, "src", "setup", "package", "ZORFPdriver.cab")
        self.display = VirtualDisplay()
        self.env = {"DISPLAY": self.display.display} if self.display.display else {}

    def c_drive(self, windows):
        return os.path.join(self.wine.prefix, "drive_c", windows[3:].replace("\\", "/"))

    def temp_folders(self):
        users = os.path.join(self.wine.prefix, "drive_c", "users", "*")
        return glob.glob(os.path.join(users, "Temp")) + glob.glob(os.path.join(users, "AppData", "Local", "Temp"))

    def clean(self):
        shutil.rmtree(self.c_drive(PREREQ_FOLDER + "\\"), ignore_errors=True)
        for temp in self.temp_folders():
            for name in os.listdir(temp):
                if name.startswith("zorfp-prereq-setup.exe") or name.startswith("ZORFPdriver.") or \
                        name in ("prerequisites.ini", "fake-database.exe"):
                    os.remove(os.path.join(temp, name))

    def temp_file(self, name):
        found = [os.path.join(t, name) for t in self.temp_folders() if os.path.exists(os.path.join(t, name))]
        return found[0] if found else None

    def pack(self, name, configuration, database=None, prerequisite=True):
        """A setup program of this test's own: the built image with the given configuration."""
        ini = os.path.join(self.dir, "prerequisites.ini")
        with open(ini, "w", newline="\r\n") as f:
            f.write(configuration)
        command = [self.args.pack, "-o", os.path.join(self.dir, name), "--image", self.image, "--configuration", ini]
        if database is None:
            command += ["--database", self.msi, "--cabinet", self.cab]
        else:
            fake = os.path.join(self.dir, "fake-database.exe")
            shutil.copy(self.helper, fake)
            command += ["--database", fake]
        if prerequisite:
            setup_file = os.path.join(self.dir, PREREQ_NAME)
            shutil.copy(self.helper, setup_file)
            command += ["--prerequisite", setup_file]
        subprocess.run(command, check=True)
        return os.path.join(self.dir, name)

    def launch(self, program, arguments=""):
        """Starts `program` with exactly this command line and returns its exit code."""
        line = '"%s"%s' % (windows_path(program), " " + arguments if arguments else "")
        _, out = self.wine.run([windows_path(self.helper), "run", line], timeout=300, extra_env=self.env)
        m = re.search(r"^exit (-?\d+)$", out, re.M)
        if not m:
            raise Failure("the setup program did not run: %s" % out)
        log("%s -> exit %s" % (line, m.group(1)))
        return int(m.group(1))

    def run_value(self, program):
        found = self.wine.reg_query([RUN_KEY])[RUN_KEY] or {}
        values = next(iter(found.values()), {}) if found else {}
        return values.get(windows_path(program))

    def prereq_log(self):
        path = self.c_drive(PREREQ_FOLDER + "\\log.txt")
        if not os.path.exists(path):
            return []
        with open(path, encoding="utf-8-sig") as f:
            return f.read().splitlines()

    def stop(self):
        self.clean()
        self.wine.wait()
        self.display.stop()


def prerequisite_section(source, exit_code=0, extra=""):
    return ("[PREREQUISITES]\nApp1=ZORFP test prerequisite\n"
            "[ZORFP test prerequisite]\n%s\nCommandLine=install %s %d\nSearchType=0\n"
            "SearchString=[WindowsVolume]zorfp-prereq\\zorfp-prereq.exe\nVerMin=1.5\nVerMax=1.5.0.0\nOptions=m\n%s"
            % (source, PREREQ_FOLDER, exit_code, extra))


# ---- the tests ----


def test_extract(s):
    """/extract: into a quoted folder with a blank unpacks the real package, runs nothing, and gives
    the same files zorfp-setup --extract gives on Linux."""
    folder = "C:\\zorfp extract %d" % s.wine.bits
    target = s.c_drive(folder + "\\")
    shutil.rmtree(target, ignore_errors=True)
    code = s.launch(s.args.setup, '/extract:"%s"' % folder)
    if code != 0:
        raise Failure("/extract: ended with %d" % code)
    linux = os.path.join(s.dir, "linux")
    subprocess.run([s.args.linux_setup, "--extract", linux, s.args.setup], check=True, stdout=subprocess.DEVNULL)
    got, want = sorted(os.listdir(target)), sorted(os.listdir(linux))
    if got != want or got != ["ZORFPdriver.cab", "ZORFPdriver.msi", "prerequisites.ini"]:
        raise Failure("unpacked %r, zorfp-setup unpacked %r" % (got, want))
    for name in got:
        with open(os.path.join(target, name), "rb") as a, open(os.path.join(linux, name), "rb") as b:
            if a.read() != b.read():
                raise Failure("%s differs from what zorfp-setup unpacked" % name)
    if os.path.exists(s.c_drive("C:\\Program Files\\ZORFP\\")):
        raise Failure("/extract: installed the driver")
    log("PASS /extract:\"%s\" unpacks the package as zorfp-setup --extract does, and installs nothing" % folder)
    shutil.rmtree(target)


def installed_keys(s, present):
    arch = "win64" if s.wine.bits == 64 else "win32"
    keys = ["HKCR\\TypeLib\\%s\\1.0\\0\\%s" % (LIBID, arch)]
    for coclass, clsid in CLASSES:
        keys += ["HKCR\\CLSID\\" + clsid, "HKCR\\ZORFP." + coclass]
    found = s.wine.reg_query(keys)
    if not present:
        left = [k for k, v in found.items() if v is not None]
        if left:
            raise Failure("still registered after the uninstall: %s" % ", ".join(left))
        return
    for coclass, clsid in CLASSES:
        got = found.get("HKCR\\CLSID\\" + clsid)
        if not got:
            raise Failure("%s is not registered" % coclass)
        got = {k.replace("\\Wow6432Node", ""): v for k, v in got.items()}
        root = "HKEY_CLASSES_ROOT\\CLSID\\" + clsid
        server = got.get(root + "\\InprocServer32", {})
        path = server.get("(Default)", "")
        # In its short form, as DllRegisterServer writes a path with a blank.
        if not re.fullmatch(r"C:(\\[^\\ ]{1,8}(\.[^\\ .]{1,3})?)+", path) or not path.upper().endswith(".DLL"):
            raise Failure("%s InprocServer32 holds %r" % (coclass, path))
        want = {
            root: {"(Default)": coclass + " Object"},
            root + "\\InprocServer32": {"(Default)": path, "ThreadingModel": "Free"},
            root + "\\ProgID": {"(Default)": "ZORFP." + coclass},
            root + "\\TypeLib": {"(Default)": LIBID},
            root + "\\Version": {"(Default)": "1.0"},
        }
        if got != want:
            raise Failure("%s: keys %r, expected %r" % (coclass, got, want))
        progid = found.get("HKCR\\ZORFP." + coclass)
        if progid != {"HKEY_CLASSES_ROOT\\ZORFP." + coclass: {"(Default)": coclass + " Object"},
                      "HKEY_CLASSES_ROOT\\ZORFP.%s\\Clsid" % coclass: {"(Default)": clsid}}:
            raise Failure("ProgID ZORFP.%s: %r" % (coclass, progid))
    tlb = found.get(keys[0])
    program_files = "C:\\Program Files (x86)" if s.wine.bits == 32 else "C:\\Program Files"
    if not tlb or list(tlb.values())[0].get("(Default)") != program_files + "\\ZORFP\\ZORFPdriver.dll":
        raise Failure("type library registration: %r" % tlb)
    log("PASS the installer wrote the keys DllRegisterServer writes")


def test_quiet(s):
    """Quiet mode end to end: the prerequisite is detected missing, installed from the package and
    detected again; the database installs with the system installer; a script uses the driver."""
    s.clean()
    program = s.pack("quiet.exe", "[GeneralOptions]\nMainAppCmdLine=/qn\nOptions=q\n" +
                     prerequisite_section("SetupFile=" + PREREQ_NAME))
    code = s.launch(program)
    if code != 0:
        raise Failure("the quiet setup ended with %d" % code)
    lines = s.prereq_log()
    expected = '[%s]=["%s"]' % (windows_path(program), windows_path(program))
    if len(lines) != 1 or expected not in lines[0]:
        raise Failure("the prerequisite ran %d times, with %r (expected a Run value %s)" % (len(lines), lines, expected))
    log("PASS the prerequisite was installed once, with the quoted Run value in place")
    if s.run_value(program) is not None:
        raise Failure("the Run value is left after the installation")
    log("PASS the Run value is removed once the installation database is opened")
    installed_keys(s, True)
    script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "scripts", "installed_client.js")

    def body(port):
        code, out = s.wine.run(["cscript", "//nologo", windows_path(script), str(port)], check=False)
        log(out.rstrip())
        if "SCRIPT DONE" not in out or code != 0:
            raise Failure("the script client failed (exit %d)" % code)

    try:
        with_port(s.wine, s.args, lambda link: Simulator(s.args.sim, "05-03", link), body)
    finally:
        s.wine.run(["msiexec", "/x", windows_path(s.msi), "/qn"], timeout=300)
    installed_keys(s, False)
    log("PASS the uninstall removes the registration")


def test_run_key(s):
    """A prerequisite that asks for a restart leaves the quoted Run value; the run after the restart
    finds the prerequisite, opens the database (its exit code is the program's) and removes it."""
    s.clean()
    program = s.pack("restart.exe", "[GeneralOptions]\nMainAppCmdLine=exit 42\nOptions=q\n" +
                     prerequisite_section("SetupFile=" + PREREQ_NAME, exit_code=3010), database="fake")
    code = s.launch(program)
    if code != 3010:
        raise Failure("a restart asked for: exit %d" % code)
    value = s.run_value(program)
    if value != '"%s"' % windows_path(program):
        raise Failure("the Run value holds %r" % value)
    log("PASS after a restart request reg query shows the Run value %s" % value)
    code = s.launch(program)
    if code != 42:
        raise Failure("the run after the restart ended with %d, not the database's 42" % code)
    if s.run_value(program) is not None:
        raise Failure("the Run value is left after the run that followed the restart")
    if len(s.prereq_log()) != 1:
        raise Failure("the prerequisite ran again: %r" % s.prereq_log())
    log("PASS the run after the restart finds the prerequisite, returns the database's exit code, removes the value")


class FileServer(http.server.BaseHTTPRequestHandler):
    """Serves one file; the first transfer breaks halfway; later ones honour a Range or ignore it."""
    protocol_version = "HTTP/1.0"
    data, honours, requests = b"", True, []

    def log_message(self, *a):
        pass

    def do_GET(self):
        cls = type(self)
        first = not cls.requests
        cls.requests.append(self.headers.get("Range"))
        data, start = cls.data, 0
        m = re.fullmatch(r"bytes=(\d+)-", self.headers.get("Range") or "")
        if m and cls.honours and not first:
            start = int(m.group(1))
            self.send_response(206)
            self.send_header("Content-Range", "bytes %d-%d/%d" % (start, len(data) - 1, len(data)))
        else:
            self.send_response(200)
        self.send_header("Content-Length", str(len(data) - start))
        self.send_header("Content-Type", "application/octet-stream")
        self.end_headers()
        if first:
            self.wfile.write(data[:len(data) // 2])
            self.wfile.flush()
            self.connection.shutdown(socket.SHUT_RDWR)
            return
        self.wfile.write(data[start:])


def download_test(s, url, served, expect_requests):
    s.clean()
    with open(s.helper, "rb") as f:
        size = len(f.read())
    program = s.pack("download.exe", "[GeneralOptions]\nMainAppCmdLine=exit 0\nOptions=q\n" +
                     prerequisite_section("Url=" + url, extra="ExactSize=%d\n" % size),
                     database="fake", prerequisite=False)
    code = s.launch(program)
    if code != 0:
        raise Failure("the download setup ended with %d" % code)
    requests = served()
    if requests != expect_requests(size):
        raise Failure("the server saw %r, expected %r" % (requests, expect_requests(size)))
    downloaded = s.temp_file(PREREQ_NAME)
    with open(s.helper, "rb") as f:
        if not downloaded or open(downloaded, "rb").read() != f.read():
            raise Failure("the downloaded file is not the one served")
    if s.temp_file(PREREQ_NAME + ".part"):
        raise Failure("the part file is left")
    if len(s.prereq_log()) != 1:
        raise Failure("the downloaded prerequisite did not run once: %r" % s.prereq_log())
    log("PASS interrupted at %d of %d bytes, resumed, whole, run once" % (size // 2, size))


def test_http(s, honours):
    with open(s.helper, "rb") as f:
        FileServer.data = f.read()
    FileServer.honours, FileServer.requests = honours, []
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), FileServer)
    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    try:
        url = "http://127.0.0.1:%d/files/%s" % (server.server_address[1], PREREQ_NAME)
        download_test(s, url, lambda: FileServer.requests,
                      lambda size: [None, "bytes=%d-" % (size // 2)])
    finally:
        server.shutdown()
        server.server_close()
    log("PASS the server %s the range and the file arrived whole" % ("honoured" if honours else "ignored"))


def ftp_python():
    """An interpreter that has pyftpdlib: this one, or Debian's (python3-pyftpdlib)."""
    for python in (sys.executable, "/usr/bin/python3"):
        if os.access(python, os.X_OK) and subprocess.run([python, "-c", "import pyftpdlib.servers"],
                                                         capture_output=True).returncode == 0:
            return python
    raise Skip("python3-pyftpdlib is not installed")


def test_ftp(s):
    root = os.path.join(s.dir, "ftp")
    os.makedirs(root)
    shutil.copy(s.helper, os.path.join(root, PREREQ_NAME))
    size = os.path.getsize(os.path.join(root, PREREQ_NAME))
    server = subprocess.Popen([ftp_python(), os.path.join(os.path.dirname(os.path.abspath(__file__)), "ftp_server.py"),
                               root, str(size // 2)], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
    commands = []
    try:
        line = server.stdout.readline().split()
        if len(line) != 2 or line[0] != "port":
            raise Failure("the FTP server did not start: %r" % line)
        reader = threading.Thread(target=lambda: commands.extend(l.strip() for l in server.stdout), daemon=True)
        reader.start()
        url = "ftp://127.0.0.1:%s/%s" % (line[1], PREREQ_NAME)

        def served():
            server.stdin.close()
            server.wait(timeout=30)
            reader.join(timeout=10)
            return commands

        download_test(s, url, served,
                      lambda size: ["RETR /" + PREREQ_NAME, "REST %d" % (size // 2), "RETR /" + PREREQ_NAME])
    finally:
        if server.poll() is None:
            server.kill()
    log("PASS the FTP server confirmed the restart (350) and the file arrived whole")


TESTS = {"extract": test_extract, "quiet": test_quiet, "run-key": test_run_key,
         "http-ranges": lambda s: test_http(s, True), "http-no-ranges": lambda s: test_http(s, False),
         "ftp": test_ftp}


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawTextHelpFormatter)
    parser.add_argument("--bits", type=int, choices=(32, 64), required=True)
    parser.add_argument("--prefix", required=True, help="the Wine suite's prefix")
    parser.add_argument("--build", help="the Windows build folder of this bitness")
    parser.add_argument("--setup", help="ZORFPDriverSetup.exe with the real package")
    parser.add_argument("--pack", help="zorfp-pack")
    parser.add_argument("--linux-setup", help="zorfp-setup")
    parser.add_argument("--sim", help="zorfp-sim")
    parser.add_argument("--skip", help="skip with this reason")
    parser.add_argument("what", choices=sorted(TESTS))
    args = parser.parse_args(argv)
    s = None
    try:
        if args.skip:
            raise Skip(args.skip)
        wine = Wine(args.bits, args.prefix)
        wine.ensure_prefix()
        s = Setup(args, wine)
        TESTS[args.what](s)
    except Skip as e:
        log("SKIPPED: %s" % e)
        return SKIP
    except (Failure, subprocess.TimeoutExpired, subprocess.CalledProcessError) as e:
        log("FAILED: %s" % e)
        return 1
    finally:
        if s:
            s.stop()
    log("PASSED")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
