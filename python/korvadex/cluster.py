"""A log's report on a Dask cluster: its blocks worked by the workers with
the package's per-block functions, the partial results merged pairwise
in the log's order, the report finished where it was asked for.

    import korvadex
    report = korvadex.dask_report("week.h5")          # two local workers
    report.json["channels"][0]["rms_noise_uV"]

    from dask.distributed import Client
    with Client("tcp://scheduler:8786") as client:   # a cluster of machines
        report = korvadex.dask_report("/shared/logs/week.h5", client)

Every worker opens the log itself: the path must name the same file on
each of them, and each needs the same korvadex version.
"""

import collections

from .log import SPAN_SAMPLES, LogCodes, merge, open_log

# A worker keeps the last logs it read open between blocks (a text log is
# read once through on opening), seeing what a writer flushed since, until
# the report that read them is done.
_KEPT_LOGS = 4
_open_codes = collections.OrderedDict()


def _codes(path):
    if path in _open_codes:
        _open_codes.move_to_end(path)
    else:
        _open_codes[path] = LogCodes(path)
        if len(_open_codes) > _KEPT_LOGS:
            _open_codes.popitem(last=False)[1].close()
    return _open_codes[path]


def _forget(path):
    """Closes a worker's handle on the log at path, if it keeps one."""
    codes = _open_codes.pop(path, None)
    if codes is not None:
        codes.close()


def _block(plan, first, owned):
    codes = _codes(plan.path)
    codes.refresh()
    return plan.block(codes, first, owned)


def local_cluster(workers=2):
    """A LocalCluster of worker processes on the loopback address only,
    one thread each, without a dashboard."""
    from dask.distributed import LocalCluster

    return LocalCluster(n_workers=workers, threads_per_worker=1, processes=True,
                        host="127.0.0.1", dashboard_address=None)


def dask_report(path, client=None, span=SPAN_SAMPLES):
    """The figures of ``korvadex-cli report --json`` for the log at path,
    worked by the Dask client's workers a span of samples at a time (a
    multiple of 65536). Without a client, a local_cluster() of two workers
    is started for the call and closed after it.

    Returns a LogReport (.json as report --json gives it, noise(),
    histogram(channel), spectrum(channel)); the figures are the
    companion's up to the order in which the sums were added.
    """
    with open_log(path) as log:
        plan = log.plan()
        plan.spans(span)  # a span that would lose segments is refused before any work
        if client is None:
            from dask.distributed import Client

            with local_cluster() as cluster, Client(cluster) as own:
                return log.finish(_reduce(own, plan, span))
        try:
            return log.finish(_reduce(client, plan, span))
        finally:
            # The workers let go of the file, so that it can be written again.
            client.run(_forget, plan.path)


def _reduce(client, plan, span):
    spans = plan.spans(span)
    if not spans:
        return plan.empty()
    futures = [client.submit(_block, plan, first, owned) for first, owned in spans]
    while len(futures) > 1:
        pairs = [futures[i:i + 2] for i in range(0, len(futures), 2)]
        futures = [client.submit(merge, *pair) if len(pair) == 2 else pair[0] for pair in pairs]
    return futures[0].result()
