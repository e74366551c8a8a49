#!/usr/bin/env python3
"""Runs one test of the Wine suite: the Windows build of the driver under Wine, against the
simulator (zorfp-sim) or an echoing pseudo-terminal on a Wine COM port.

  wine_test.py [options] registration | script FILE VARIANT | early-bound | platform

Exit status 0 passed, 1 failed, 77 skipped (Wine or the Windows build is not there).

The Wine prefix is private to the build tree (created on first use with wineboot). A COM port is a
symbolic link $WINEPREFIX/dosdevices/comN to the pseudo-terminal; its peer is stopped only once
wineserver has exited (wineserver -w), so that Wine never sees the line vanish under it.
"""

import argparse
import fcntl
import os
import pty
import re
import shutil
import signal
import subprocess
import sys
import threading
import time
import tty

SKIP = 77
LIBID = "{D3ED6F85-6413-466D-B761-172455D91B79}"
CLASSES = [  # the server's order: coclass, class identifier
    ("ZOR_05_03", "{83F413D9-5053-4017-9C09-A60CC2F99F64}"),
    ("ZOR_EP_06", "{1259DFEF-43D3-4C56-8E6B-414B25DA56B3}"),
    ("ZOR_05_02", "{8287AC8C-BE16-47AD-A0D3-CD3C82F7B44B}"),
    ("ZOR_EP_05", "{5FBE3446-1926-453B-B026-53A3BBDCCC35}"),
    ("ZOR_EP_02", "{A351CA1F-8C0C-45AC-9A0E-25EA56475CE4}"),
    ("ZOR_EP_01", "{64A19F71-BCE0-417D-BFDA-4BE8B748243D}"),
    ("ZOR_08_01", "{4A54A4C9-21AB-476F-B9AA-1A03AA088A06}"),
]
VARIANT_CLASS = {"05-03": "ZOR_05_03", "EP-01": "ZOR_EP_01", "EP-02": "ZOR_EP_02", "EP-05": "ZOR_EP_05",
                 "EP-06": "ZOR_EP_06", "05-02": "ZOR_05_02", "08-01": "ZOR_08_01"}


class Skip(Exception):
    pass


class Failure(Exception):
    pass


def log(text):
    print(text, flush=True)


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Wine:
    """One bitness of Wine on the suite's prefix."""

    def __init__(self, bits, prefix):
        self.bits = bits
        self.prefix = os.path.abspath(prefix)
        loader = "/usr/lib/wine/wine64" if bits == 64 else "/usr/lib/wine/wine"
        if not os.access(loader, os.X_OK):
            loader = shutil.which("wine64" if bits == 64 else "wine")
        if not loader:
            raise Skip("Wine (%d-bit) is not installed" % bits)
        self.loader = loader
        self.wineserver = "/usr/lib/wine/wineserver"
        if not os.access(self.wineserver, os.X_OK):
            self.wineserver = shutil.which("wineserver")
        if not self.wineserver:
            raise Skip("wineserver is not installed")
        self.env = dict(os.environ, WINEPREFIX=self.prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
        self.env.pop("DISPLAY", None)
        self.env.pop("WAYLAND_DISPLAY", None)

    def ensure_prefix(self):
        """Creates the prefix once; concurrent tests wait for the first."""
        os.makedirs(os.path.dirname(self.prefix), exist_ok=True)
        with open(self.prefix + ".lock", "w") as lock:
            fcntl.flock(lock, fcntl.LOCK_EX)
            if os.path.exists(os.path.join(self.prefix, "system.reg")):
                return
            log("creating the Wine prefix %s" % self.prefix)
            wine64 = "/usr/lib/wine/wine64" if os.access("/usr/lib/wine/wine64", os.X_OK) else self.loader
            subprocess.run([wine64, "wineboot", "-i"], env=self.env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=600, check=False)
            self.wait()
            if not os.path.exists(os.path.join(self.prefix, "system.reg")):
                raise Failure("wineboot did not create the prefix")

    def run(self, args, timeout=180, extra_env=None, check=True):
        env = dict(self.env, **(extra_env or {}))
        p = subprocess.run([self.loader] + args, env=env, capture_output=True, timeout=timeout)
        # The suite's programs print UTF-8; cscript writes in the OEM code page of its locale.
        try:
            out = p.stdout.decode("utf-8")
        except UnicodeDecodeError:
            oem = "cp866" if env.get("LC_ALL", "").startswith("ru_") else "cp437"
            out = p.stdout.decode(oem, "replace")
        out = out.replace("\r\n", "\n")
        if check and p.returncode != 0:
            raise Failure("%s exited %d\n%s%s" % (" ".join(args), p.returncode, out,
                                                  p.stderr.decode("utf-8", "replace")))
        return p.returncode, out

    def wait(self):
        subprocess.run([self.wineserver, "-w"], env=self.env, timeout=120, check=False)

    def com_port(self, number, target):
        link = os.path.join(self.prefix, "dosdevices", "com%d" % number)
        if os.path.lexists(link):
            os.remove(link)
        os.symlink(target, link)

    def reg_query(self, keys):
        """{key: {subkey path: {name: data}}} for each key (None where it is absent): one `reg query`
        per key, all from one batch file, since every Wine process start costs a second or so."""
        batch = os.path.join(os.path.dirname(self.prefix), "wine%d-query.cmd" % self.bits)
        with open(batch, "w", newline="\r\n") as f:
            for key in keys:
                f.write('@echo ==== %s\n@reg query "%s" /s\n' % (key, key))
        _, out = self.run(["cmd", "/c", windows_path(batch)], check=False)
        found = {}
        for section in out.split("==== ")[1:]:
            key, _, text = section.partition("\n")
            values, current = {}, None
            for line in text.splitlines():
                if line.startswith("HKEY_"):
                    current = values.setdefault(line.strip(), {})
                elif current is not None and line.startswith("    "):
                    parts = re.split(r"\s{4}", line.strip(), maxsplit=2)
                    current[parts[0]] = parts[2] if len(parts) == 3 else ""
            found[key.strip()] = values or None
        return found


class Simulator:
    """zorfp-sim serving a pseudo-terminal, stopped after Wine is gone."""

    def __init__(self, program, variant, link):
        if os.path.lexists(link):
            os.remove(link)
        self.process = subprocess.Popen([program, "--variant", variant, "--link", link], stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE)
        line = self.process.stdout.readline().decode().strip()
        if line != "ready " + link:
            self.stop()
            raise Failure("zorfp-sim did not start: %r %s" % (line, self.process.stderr.read().decode()))
        self.link = link

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()


class EchoPeer:
    """A pseudo-terminal that sends back every byte it receives."""

    def __init__(self, link):
        self.master, self.slave = pty.openpty()
        tty.setraw(self.slave)
        if os.path.lexists(link):
            os.remove(link)
        os.symlink(os.ttyname(self.slave), link)
        self.link = link
        self.running = True
        self.thread = threading.Thread(target=self._echo, daemon=True)
        self.thread.start()

    def _echo(self):
        import select
        while self.running:
            ready, _, _ = select.select([self.master], [], [], 0.1)
            if ready:
                try:
                    data = os.read(self.master, 256)
                except OSError:
                    continue
                os.write(self.master, data)

    def stop(self):
        self.running = False
        self.thread.join()
        os.close(self.master)
        os.close(self.slave)


def check_lines(output, marker):
    """A program's report: PASS/FAIL lines and a closing 'N passed, M failed'."""
    output = output.replace("\r\n", "\n")
    log(output.rstrip())
    m = re.search(r"^(?:\w+: )?(\d+) passed, (\d+) failed$", output, re.M)
    if not m or (marker and marker not in output):
        raise Failure("the program did not finish its report")
    if int(m.group(2)) != 0 or int(m.group(1)) == 0:
        raise Failure("%s checks failed" % m.group(2))


def unbuilt_member(args, coclass):
    """A method without arguments that the build does not implement yet, or '-'."""
    if not args.zorfp:
        return "-"
    out = subprocess.run([args.zorfp, "members", "--class", coclass], capture_output=True, text=True).stdout
    for line in out.splitlines():
        m = re.match(r"\s*\d+\s+-\s+(\w+)\(\)( -> bool)?$", line)
        if m:
            return m.group(1)
    return "-"


# ---- the tests ----


def test_registration(args, wine):
    dll = os.path.join(args.build, "src", "server", "ZORFPdriver.dll")
    arch = "win64" if wine.bits == 64 else "win32"

    keys = ["HKCR\\TypeLib\\%s\\1.0\\0\\%s" % (LIBID, arch)]
    for coclass, clsid in CLASSES:
        keys += ["HKCR\\CLSID\\" + clsid, "HKCR\\ZORFP." + coclass]

    def registered(path, library_path):
        found = wine.reg_query(keys)
        for coclass, clsid in CLASSES:
            got, progid = found.get("HKCR\\CLSID\\" + clsid), found.get("HKCR\\ZORFP." + coclass)
            if got is None or progid is None:
                raise Failure("%s is not registered" % coclass)
            root = "HKEY_CLASSES_ROOT\\CLSID\\" + clsid
            want = {
                root: {"(Default)": coclass + " Object"},
                root + "\\InprocServer32": {"(Default)": path, "ThreadingModel": "Free"},
                root + "\\ProgID": {"(Default)": "ZORFP." + coclass},
                root + "\\TypeLib": {"(Default)": LIBID},
                root + "\\Version": {"(Default)": "1.0"},
            }
            got = {k.replace("\\Wow6432Node", ""): v for k, v in got.items()}
            if got != want:
                raise Failure("%s: keys %r, expected %r" % (coclass, got, want))
            if progid != {"HKEY_CLASSES_ROOT\\ZORFP." + coclass: {"(Default)": coclass + " Object"},
                          "HKEY_CLASSES_ROOT\\ZORFP.%s\\Clsid" % coclass: {"(Default)": clsid}}:
                raise Failure("ProgID ZORFP.%s: %r" % (coclass, progid))
        tlb = found.get(keys[0])
        if not tlb or list(tlb.values())[0].get("(Default)") != library_path:
            raise Failure("type library registration: %r" % tlb)
        log("PASS the seven classes and the type library are registered for %s" % path)

    def unregistered():
        left = [k for k, v in wine.reg_query(keys).items() if v is not None]
        if left:
            raise Failure("still registered: %s" % ", ".join(left))
        log("PASS unregistration removes the classes and the type library")

    wine.run(["regsvr32", "/s", windows_path(dll)])
    registered(windows_path(dll), windows_path(dll))
    wine.run(["regsvr32", "/u", "/s", windows_path(dll)])
    unregistered()

    # From a folder whose path has blanks, the server's path is registered in its short form.
    folder = os.path.join(wine.prefix, "drive_c", "ZORFP driver %d" % wine.bits)
    os.makedirs(folder, exist_ok=True)
    shutil.copy(dll, os.path.join(folder, "ZORFPdriver.dll"))
    long_path = "C:\\ZORFP driver %d\\ZORFPdriver.dll" % wine.bits
    wine.run(["regsvr32", "/s", long_path])
    server = "HKCR\\CLSID\\%s\\InprocServer32" % CLASSES[0][1]
    path = list(wine.reg_query([server])[server].values())[0]["(Default)"]
    eight_three = re.fullmatch(r"C:(\\[^\\ .]{1,8}(\.[^\\ .]{1,3})?)+", path)
    if not eight_three or not path.upper().endswith(".DLL"):
        raise Failure("InprocServer32 holds %r for %r" % (path, long_path))
    log("PASS a path with blanks is registered in its short form: %s" % path)
    registered(path, long_path)
    wine.run(["regsvr32", "/u", "/s", long_path])
    unregistered()
    shutil.rmtree(folder)


def with_port(wine, args, peer_factory, body):
    port = 5 if wine.bits == 64 else 6
    link = os.path.join(os.path.dirname(wine.prefix), "wine%d-com%d" % (wine.bits, port))
    peer = peer_factory(link)
    try:
        wine.com_port(port, link)
        return body(port)
    finally:
        wine.wait()
        peer.stop()


def register(args, wine):
    wine.run(["regsvr32", "/s", windows_path(os.path.join(args.build, "src", "server", "ZORFPdriver.dll"))])


def test_script(args, wine):
    script, variant = args.what[1], args.what[2]
    register(args, wine)
    unbuilt = unbuilt_member(args, VARIANT_CLASS[variant])

    env = None
    if script.endswith(".vbs"):
        # Wine's VBScript reads its source in the ANSI code page and has no ChrW: the script runs as
        # on a Russian Windows, in code page 1251.
        converted = os.path.join(os.path.dirname(wine.prefix), os.path.basename(script))
        with open(script, encoding="utf-8") as f, open(converted, "w", encoding="cp1251", newline="\r\n") as out:
            out.write(f.read().replace("UNBUILT_MEMBER", unbuilt if unbuilt != "-" else "NoSuchMember"))
        script, env = converted, {"LC_ALL": "ru_RU.UTF-8"}

    def body(port):
        code, out = wine.run(["cscript", "//nologo", windows_path(script), str(port), unbuilt], check=False,
                             extra_env=env)
        log(out.rstrip())
        if "SCRIPT DONE" not in out:
            raise Failure("the script did not run to its end (exit %d)" % code)
        if code != 0:
            raise Failure("the script reported failures (exit %d)" % code)

    log_folder = os.path.join(args.build, "src", "server", "Log")
    shutil.rmtree(log_folder, ignore_errors=True)
    with_port(wine, args, lambda link: Simulator(args.sim, variant, link), body)
    if os.path.isdir(log_folder):
        check_log(log_folder)


def check_log(folder):
    """The exchange log a script switched on: in the folder Log beside the DLL, with the port's settings
    (FPInit of 05-03 counts its time-outs in tenths of a second: 1 is 100 ms)."""
    text = ""
    for name in os.listdir(folder):
        with open(os.path.join(folder, name), "rb") as f:
            text += f.read().decode("cp1251")
    for expected in ["OPEN PORT:", "     BaudRate = 9600\r\n", "     Flags    = 0\r\n",
                     "     ReadIntervalTimeout         = 100\r\n", "     ReadTotalTimeoutMultiplier  = 2\r\n",
                     "     ReadTotalTimeoutConstant    = 100\r\n", "     WriteTotalTimeoutMultiplier = 2\r\n",
                     "     WriteTotalTimeoutConstant   = 100\r\n", "PORT CLOSED"]:
        if expected not in text:
            raise Failure("the exchange log beside the DLL lacks %r" % expected)
    log("PASS the exchange log is written beside the DLL, with the port's settings and time-outs")


def test_early_bound(args, wine):
    register(args, wine)
    program = os.path.join(args.build, "tests", "wine", "programs", "early_bound.exe")
    unbuilt = unbuilt_member(args, "ZOR_05_03")

    def body(port):
        _, out = wine.run([windows_path(program), str(port), unbuilt], check=False)
        check_lines(out, None)

    with_port(wine, args, lambda link: Simulator(args.sim, "05-03", link), body)


class VirtualDisplay:
    """Xvfb, for the programs that show windows; None where it is not installed."""

    def __init__(self):
        self.process = None
        self.display = None
        xvfb = shutil.which("Xvfb")
        if not xvfb:
            return
        read, write = os.pipe()
        self.process = subprocess.Popen([xvfb, "-displayfd", str(write), "-screen", "0", "1024x768x24",
                                         "-nolisten", "tcp"], pass_fds=(write,), stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as f:
            number = f.readline().strip()
        if number:
            self.display = ":" + number
        else:
            self.stop()

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            self.process.wait(timeout=10)


def test_platform(args, wine):
    program = os.path.join(args.build, "tests", "wine", "programs", "platform_check.exe")
    display = VirtualDisplay()
    env = {"LC_ALL": "en_US.UTF-8", "LANG": "en_US.UTF-8"}
    if display.display:
        env["DISPLAY"] = display.display
    else:
        log("NOTE Xvfb is not installed: the waiting window is checked without a display")

    def body(port):
        _, out = wine.run([windows_path(program), str(port), "window" if display.display else "nowindow"],
                          check=False, extra_env=env)
        check_lines(out, None)

    try:
        with_port(wine, args, EchoPeer, body)
    finally:
        display.stop()


TESTS = {"registration": test_registration, "script": test_script, "early-bound": test_early_bound,
         "platform": test_platform}


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawTextHelpFormatter)
    parser.add_argument("--bits", type=int, choices=(32, 64), required=True)
    parser.add_argument("--prefix", required=True, help="the suite's Wine prefix")
    parser.add_argument("--build", help="the Windows build folder of this bitness")
    parser.add_argument("--sim", help="zorfp-sim")
    parser.add_argument("--zorfp", help="the Linux zorfp client, to find a member not built yet")
    parser.add_argument("--skip", help="skip with this reason")
    parser.add_argument("what", nargs="+")
    args = parser.parse_args(argv)
    try:
        if args.skip:
            raise Skip(args.skip)
        wine = Wine(args.bits, args.prefix)
        wine.ensure_prefix()
        TESTS[args.what[0]](args, wine)
    except Skip as e:
        log("SKIPPED: %s" % e)
        return SKIP
    except (Failure, subprocess.TimeoutExpired) as e:
        log("FAILED: %s" % e)
        return 1
    log("PASSED")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
