"""zorfp-sim, the printer simulator, for the user's own tests and trials."""

import contextlib
import json
import os
import shutil
import signal
import subprocess
import tempfile
import time
from pathlib import Path


def _program():
    named = os.environ.get("ZORFP_SIM")
    if named:
        return named
    beside = Path(__file__).resolve().parents[4] / "bin" / "zorfp-sim"  # <prefix>/lib/python3/...
    if beside.exists():
        return str(beside)
    found = shutil.which("zorfp-sim")
    if not found:
        raise FileNotFoundError("zorfp-sim not found (install the zorfp package or set ZORFP_SIM)")
    return found


class Simulator:
    """A simulated printer on a pseudo-terminal: open `port` with the driver; the paper tape it
    prints is `tape_text()`, and its whole state is `state()`."""

    def __init__(self, variant="05-03", *extra_args, folder=None):
        self._own_folder = folder is None
        self.folder = Path(folder or tempfile.mkdtemp(prefix="zorfp-sim-"))
        self.port = str(self.folder / "printer")
        self.tape = self.folder / "tape.txt"
        self._state = self.folder / "state.json"
        args = [_program(), "--variant", variant, "--link", self.port, "--tape", str(self.tape),
                "--state", str(self._state), *extra_args]
        self._process = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        ready = self._process.stdout.readline().strip()
        if ready != "ready " + self.port:
            self._process.kill()
            _, err = self._process.communicate()
            raise RuntimeError("zorfp-sim did not start: %s" % (err.strip() or ready))

    def tape_text(self):
        """What the printer has printed so far."""
        return self.tape.read_text(encoding="utf-8") if self.tape.exists() else ""

    def state(self):
        """The printer's state as the simulator writes it (receipt, day, registers...)."""
        with contextlib.suppress(FileNotFoundError):
            self._state.unlink()
        self._process.send_signal(signal.SIGUSR1)
        for _ in range(500):  # written whole and renamed into place: it appears complete
            if self._state.exists():
                return json.loads(self._state.read_text(encoding="utf-8"))
            time.sleep(0.01)
        raise RuntimeError("zorfp-sim wrote no state")

    def close(self):
        if self._process.poll() is None:
            self._process.terminate()
            self._process.wait(timeout=10)
        self._process.stdout.close()
        self._process.stderr.close()
        if self._own_folder:
            shutil.rmtree(self.folder, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


def simulator(variant="05-03", *extra_args, folder=None):
    """Starts zorfp-sim for a protocol variant ("05-03", "EP-02", ...; extra zorfp-sim options may
    follow, such as "--fault", "silent=1"); use it in a `with` block, or close() it."""
    return Simulator(variant, *extra_args, folder=folder)
