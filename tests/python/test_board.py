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
    # The signal is sent once the run streams, from another thread, as a terminal would.
    "Ctrl-C": """
def progress(taken, total, sent=[]):
    if not sent:
        sent.append(threading.Timer(0.3, os.kill, (os.getpid(), signal.SIGINT)))
        sent[0].start()
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


READ_FAULTS = {
    # 60000 bytes are 10000 frames, less what the identification took.
    "cable pulled": ({"cable_pull_after": 60000}, "計測エラーで終了", None),
    # Runs are read in whole chunks of 1000 pairs at 125 ksps: the last 500 never come.
    "board stalled": ({"stall_after": 2500}, "計測エラーで終了 (no samples for 500 ms)", 2000),
}


@pytest.mark.parametrize("fault,message,samples", READ_FAULTS.values(), ids=READ_FAULTS.keys())
def test_a_failing_stream_raises_read_error_with_the_samples_taken(fault, message, samples):
    result = on_board(CHECK_COUNTER + """
with korvadex.Board() as board:
    try:
        board.measure(rate="125ksps", count=100000, channel=2, stall_timeout=0.5)
    except korvadex.ReadError as error:
        print(json.dumps([str(error), error.samples, in_order(error.run)]))
""", **COUNTER, **fault)
    assert result[0] == message and result[2]
    assert result[1] == samples if samples else 0 < result[1] < 10000


FAULTS = {
    "absent": ("BoardNotFound", "KORVADEX が見つかりませんでした"),
    "wrong-name": ("BoardNotFound", "KORVADEX が見つかりませんでした"),
    "silent": ("NoResponse", "KORVADEX が応答しませんでした"),
    "ng-set": ("BoardError", "KORVADEX Board がエラーです"),
}


FAULT_SCRIPT = """
try:
    with korvadex.Board() as board:
        board.measure(count=100)
    print(json.dumps(None))
except korvadex.Error as error:
    print(json.dumps([type(error).__name__, str(error)]))
"""


@pytest.mark.parametrize("fault,expected", FAULTS.items(), ids=FAULTS.keys())
def test_board_faults_raise_their_exception_with_the_window_text(fault, expected):
    assert on_board(FAULT_SCRIPT, faults=fault) == list(expected)


def test_board_faults_speak_english_to_an_english_operator():
    assert on_board(FAULT_SCRIPT, language="en", faults="silent") == ["NoResponse", "KORVADEX did not respond"]


def test_runs_yields_back_to_back_runs():
    result = on_board("""
with korvadex.Board() as board:
    print(json.dumps([len(run) for run in board.runs(3, rate="125ksps", count=1000, channel=0)]))
""")
    assert result == [1000, 1000, 1000]


def test_a_board_refuses_other_threads_and_its_own_progress_callback():
    result = on_board("""
import threading
refused = []

def attempt(action):
    try:
        action()
    except RuntimeError as error:
        refused.append(str(error))

with korvadex.Board() as board:
    other = threading.Thread(target=attempt, args=(lambda: board.measure(count=100),))
    other.start()
    other.join()
    def progress(taken, total):
        if taken == 2000:
            attempt(board.measure)
            attempt(board.close)
    run = board.measure(rate="125ksps", count=5000, progress=progress)
print(json.dumps([refused, len(run)]))
""")
    assert result == [["korvadex.Board works in the thread that made the first Board",
                       "the board is reading a run", "the board is reading a run"], 5000]
