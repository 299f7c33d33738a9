"""korvadex.Board on the virtual board's drop-in library, each case in a
process of its own."""

import pytest

from conftest import on_board

COUNTER = {"counter": 1, "counter_start": 100, "counter_ch1_offset": 5000}

CHECK_COUNTER = """
import numpy

def in_order(run, start=100, offset=5000):
    ch0, ch1 = run.codes[:, 0], run.codes[:, 1]
    expected = numpy.arange(start, start + len(run)) % (1 << 24)
    return bool((ch0 == expected).all() and (ch1 == (expected + offset) % (1 << 24)).all())
"""


def test_a_whole_125ksps_two_channel_run_arrives_in_order():
    result = on_board(CHECK_COUNTER + """
with korvadex.Board() as board:
    identity = board.identity
    run = board.measure(rate="125ksps", count=100000, channel=2, filter="sinc5")
print(json.dumps([identity, len(run), run.codes.shape, in_order(run), run.settings.rate]))
""", **COUNTER)
    assert result == ["KORVADEX / V1.00", 100000, [100000, 2], True, "125ksps"]


INTERRUPTERS = {
    "Ctrl-C": """
threading.Timer(0.5, os.kill, (os.getpid(), signal.SIGINT)).start()
progress = None
""",
    "progress callback": """
def progress(taken, total):
    if taken >= 500:
        raise KeyboardInterrupt
""",
}


@pytest.mark.parametrize("interrupter", INTERRUPTERS.values(), ids=INTERRUPTERS.keys())
def test_an_interrupted_run_stops_the_board_and_the_next_run_works(interrupter):
    result = on_board("import os, signal, threading, time\n" + CHECK_COUNTER + interrupter + """
with korvadex.Board() as board:
    began = time.monotonic()
    try:
        board.measure(rate="1ksps", count=100000, channel=2, progress=progress)
        interrupted = False
    except KeyboardInterrupt:
        interrupted = True
    stopped_after = time.monotonic() - began
    # A board still streaming the first run would put its frames into this one.
    time.sleep(0.2)
    run = board.measure(rate="125ksps", count=10000, channel=2)
print(json.dumps([interrupted, stopped_after < 5, len(run), in_order(run)]))
""", **COUNTER)
    assert result == [True, True, 10000, True]


def test_a_cable_pulled_mid_run_raises_read_error_with_the_samples_taken():
    result = on_board(CHECK_COUNTER + """
with korvadex.Board() as board:
    try:
        board.measure(rate="125ksps", count=100000, channel=2)
    except korvadex.ReadError as error:
        taken = error.run
        print(json.dumps([str(error), 0 < error.samples < 100000, in_order(taken)]))
""", **COUNTER, cable_pull_after=60000)
    assert result == ["計測エラーで終了", True, True]


FAULTS = {
    "absent": ("BoardNotFound", "KORVADEX が見つかりませんでした"),
    "wrong-name": ("BoardNotFound", "KORVADEX が見つかりませんでした"),
    "silent": ("NoResponse", "KORVADEX が応答しませんでした"),
    "ng-set": ("BoardError", "KORVADEX Board がエラーです"),
}


@pytest.mark.parametrize("fault,expected", FAULTS.items(), ids=FAULTS.keys())
def test_board_faults_raise_their_exception_with_the_window_text(fault, expected):
    result = on_board("""
try:
    with korvadex.Board() as board:
        board.measure(count=100)
    print(json.dumps(None))
except korvadex.Error as error:
    print(json.dumps([type(error).__name__, str(error)]))
""", faults=fault)
    assert result == list(expected)


def test_runs_yields_back_to_back_runs():
    result = on_board("""
with korvadex.Board() as board:
    print(json.dumps([len(run) for run in board.runs(3, rate="125ksps", count=1000, channel=0)]))
""")
    assert result == [1000, 1000, 1000]
