import sys
from pathlib import Path

import pytest

# The package as it stands in the source tree, whatever else is installed.
sys.path.insert(0, str(Path(__file__).resolve().parents[1]))

import zorfp  # noqa: E402


@pytest.fixture
def sim():
    with zorfp.simulator("05-03") as s:
        yield s
