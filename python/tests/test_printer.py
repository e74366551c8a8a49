# The Python package against the simulator: members by name with the catalogue's signatures,
# call results, check mode and the failures a point-of-sale program meets.
import inspect
import os
import subprocess
import sys
from pathlib import Path

import pytest

import zorfp

EXAMPLE = Path(__file__).resolve().parents[1] / "examples" / "receipt.py"


def test_the_guides_example_prints_a_receipt():
    env = dict(os.environ, PYTHONPATH=str(EXAMPLE.parents[1]))
    out = subprocess.run([sys.executable, str(EXAMPLE)], env=env, capture_output=True, text=True, timeout=60)
    assert out.returncode == 0, out.stderr
    assert out.stdout.startswith("change 810 kopecks\n")
    for printed in ("Bread", "Milk", "70.00"):
        assert printed in out.stdout


def test_members_carry_the_catalogue_signatures():
    fp = zorfp.Printer("05-03")
    assert fp.class_name == "ZOR_05_03"
    assert {"FPSale", "FPPayment", "GetCheckTotal", "Lang"} <= set(dir(fp))
    sale = fp.fpsale  # names bind in any case
    assert sale.__name__ == "FPSale"
    assert sale.__doc__.startswith("FPSale(Amount int, Amount_Status byte, IsOneQuant bool, Price int,")
    assert list(inspect.signature(sale).parameters) == [
        "Amount", "Amount_Status", "IsOneQuant", "Price", "TAXGroup", "MemoryGoodName", "GoodName", "Code"]
    assert fp.members()["Lang"][0] == "Lang: byte (read/write)"
    with pytest.raises(AttributeError):
        fp.FPNoSuchMember
    with pytest.raises(AttributeError):
        fp.GetByteResult = 3  # read-only
    fp.close()


def test_settings_read_and_write_as_attributes_and_call_results_follow():
    fp = zorfp.Printer("ZOR_EP_02")
    assert fp.RepeatCount == 2
    fp.Lang = 0
    assert fp.Lang == 0
    assert fp.FPChangeBaudRate(3) is False  # refused before anything is sent
    assert fp.last_result == zorfp.CallResult(111, 255, "Incorrect baud rate!")
    assert fp.GetByteResult == 111
    fp.close()


@pytest.mark.parametrize("class_name, call, expected", [
    # A refusal of the driver: a code, status 255 and the text.
    ("ZOR_05_03", lambda fp: fp.FPChangeBaudRate(3, False), (111, 255, "Incorrect baud rate!")),
    # The older classes return nothing and report through the text alone: the code and status
    # stay what the last newer call left.
    ("ZOR_EP_01", lambda fp: fp.FPChangeRate(5), (None, None, "Incorrect baud rate!")),
])
def test_check_mode_raises_printer_error(class_name, call, expected):
    fp = zorfp.Printer(class_name, check=True)
    fp.Lang = 0
    with pytest.raises(zorfp.PrinterError) as e:
        call(fp)
    got = (e.value.code, e.value.status, e.value.text)
    assert tuple(g if x is not None else None for g, x in zip(got, expected)) == expected
    fp.check = False
    assert call(fp) in (False, None)  # the same call without check only reports
    fp.close()


def test_a_printer_refusal_and_a_silent_printer(sim):
    with zorfp.Printer("ZOR_05_03", sim.port, baud=115200, check=True) as fp:
        fp.Lang = 0
        with pytest.raises(zorfp.PrinterError) as e:
            fp.FPPayment("eptCashPayment", 100, True, True)  # no receipt open
        assert e.value.code not in (0, 101) and e.value.status != 255
    with zorfp.simulator("05-03", "--fault", "silent=1") as quiet:
        with zorfp.Printer("ZOR_05_03", quiet.port, check=True) as fp:
            fp.Lang = 0
            fp.RepeatCount = 0
            with pytest.raises(zorfp.PrinterError) as e:
                fp.FPChangeBaudRate(1, False)
            assert (e.value.code, e.value.status, e.value.text) == (101, 255, "Fiscal printer does not answer!")
            fp.RepeatCount = 2


@pytest.mark.parametrize("call, error", [
    (lambda fp: fp.FPChangeBaudRate(1), zorfp.AutomationError),  # wrong argument count
    (lambda fp: fp.FPChangeBaudRate("fast", False), zorfp.AutomationError),  # does not convert
    (lambda fp: fp.FPChangeBaudRate(object(), False), TypeError),  # no automation value at all
])
def test_calls_that_cannot_be_made_raise(call, error):
    fp = zorfp.Printer()
    with pytest.raises(error):
        call(fp)
    fp.close()


def test_an_open_that_fails_raises_with_the_call_result(tmp_path):
    fp = zorfp.Printer("ZOR_05_03")
    fp.Lang = 0
    with pytest.raises(zorfp.PrinterError) as e:
        fp.open(str(tmp_path / "no-such-port"))
    assert e.value.member == "FPInitEx" and e.value.text == "Port is busy!"
    fp.close()


def test_the_library_version_is_the_packages():
    assert zorfp.library_version() == zorfp.__version__


def test_after_a_lost_answer_the_receipts_turnover_tells_whether_the_item_is_on_it():
    # The guide's procedure: the second sale is executed and every answer to it lost (the third
    # frame and the five resends a call makes after empty answers).
    with zorfp.simulator("05-03", "--fault", "lose-answer=6x@3") as quiet:
        with zorfp.Printer("ZOR_05_03", quiet.port, baud=9600) as fp:
            fp.RepeatCount = 0  # no resend: the call ends with "no answer"
            try:
                assert fp.FPSale(1, 0, True, 1000, "etgTax_A", False, "Tea", 1)
                before = fp.GetTurnCurrentCheckTax_A
                assert fp.FPSale(1, 0, True, 250, "etgTax_A", False, "Sugar", 2) is False
                assert fp.last_result.code == 101
                assert fp.FPGetCurrentStatus() and fp.ReceiptOpened
                assert fp.GetTurnCurrentCheckTax_A == before + 250  # registered: do not sell it again
            finally:
                fp.RepeatCount = 2
            assert fp.FPResetOrder()


@pytest.mark.parametrize("class_name, variant", [
    ("ZOR_EP_01", "EP-01"), ("ZOR_08_01", "08-01"), ("ZOR_EP_02", "EP-02"), ("ZOR_EP_05", "EP-05"),
    ("ZOR_EP_06", "EP-06"), ("ZOR_05_02", "05-02"), ("ZOR_05_03", "05-03"),
])
def test_every_class_opens_its_printer_and_closes_it(class_name, variant):
    with zorfp.simulator(variant) as printer:
        with zorfp.Printer(class_name, printer.port, check=True) as fp:
            assert fp.last_result.text == ""
        # Leaving the block closed the port: another object may open it now.
        with zorfp.Printer(class_name, printer.port):
            pass
