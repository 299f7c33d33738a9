"""korvadex.devices() and Board(serial=...) among several FTDI devices, with
a silent USB-serial adapter at index 0; the list and the choice on every
driver path the build has."""

import json

import pytest

from conftest import DRIVER_PATHS, cli, on_board, sim_env

BENCH = {"devices": "cable:silent,KVX0001:board,loop:echo,KVX0002:board:busy"}


@pytest.mark.parametrize("library", DRIVER_PATHS.values(), ids=DRIVER_PATHS.keys())
def test_devices_are_the_companions_records(library):
    listed = on_board("""
import dataclasses
print(json.dumps([dataclasses.asdict(device) for device in korvadex.devices()]))
""", library=library, **BENCH)
    expected = [dict({"reason": ""}, **json.loads(line))
                for line in cli("devices", "--json", env=sim_env(library, **BENCH)).splitlines()]
    assert listed == expected
    assert [device["serial"] for device in listed] == ["cable", "KVX0001", "loop", "KVX0002"]


REFUSALS = {
    # Several attached and none chosen: the devices and how to choose.
    "none chosen": (None, ["serial=", "0\tcable\t", "1\tKVX0001\t", "2\tloop\t", "3\tKVX0002\t"]),
    "not attached": ("KVX0009", ["KVX0009", "1\tKVX0001\t"]),
}


@pytest.mark.parametrize("serial, expected", REFUSALS.values(), ids=REFUSALS.keys())
def test_board_refuses_with_board_not_found(serial, expected):
    message = on_board(f"""
try:
    with korvadex.Board(serial={serial!r}):
        pass
    print(json.dumps(None))
except korvadex.BoardNotFound as error:
    print(json.dumps(str(error)))
""", **BENCH)
    assert message is not None
    for text in expected:
        assert text in message


@pytest.mark.parametrize("library", DRIVER_PATHS.values(), ids=DRIVER_PATHS.keys())
def test_the_chosen_board_measures_past_the_adapter(library):
    result = on_board("""
with korvadex.Board(serial="KVX0001") as board:
    identity = board.identity
    run = board.measure(rate="10ksps", count=1000, channel=0)
print(json.dumps([identity, len(run)]))
""", library=library, **BENCH)
    assert result == ["KORVADEX / V1.00", 1000]


def test_an_unusable_board_says_why_after_the_windows_text():
    result = on_board("""
import traceback
try:
    korvadex.Board(serial="KVX0002").open()
except korvadex.BoardNotFound as error:
    print(json.dumps([str(error), error.reason, traceback.format_exception_only(error)[-2:]]))
""", **BENCH)
    reason = "KVX0002 is open in another program: close it"
    assert result == ["KORVADEX が見つかりませんでした", reason,
                      ["korvadex._errors.BoardNotFound: KORVADEX が見つかりませんでした\n", reason + "\n"]]
