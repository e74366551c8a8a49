# The user guide's C and Python receipts are the files the tests build and run, word for word.
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]


def test_the_guides_examples_are_the_tested_files():
    guide = (ROOT / "docs" / "user-guide.md").read_text(encoding="utf-8")
    for language, tested in (("c", "tests/consumer/receipt.c"), ("python", "python/examples/receipt.py")):
        block = "```%s\n%s```" % (language, (ROOT / tested).read_text(encoding="utf-8"))
        assert block in guide, "docs/user-guide.md lost or changed the example of " + tested
