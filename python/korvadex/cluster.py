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

import functools

from .log import SPAN_SAMPLES, LogCodes, merge, open_log


# A worker keeps the logs it reads open between blocks (a text log is read
# once through on opening), seeing what a writer flushed since.
@functools.lru_cache(maxsize=4)
def _codes(path):
    return LogCodes(path)


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
    log = open_log(path)
    plan = log.plan()
    if client is None:
        from dask.distributed import Client

        with local_cluster() as cluster, Client(cluster) as own:
            return log.finish(_reduce(own, plan, span))
    return log.finish(_reduce(client, plan, span))


def _reduce(client, plan, span):
    spans = plan.spans(span)
    if not spans:
        return plan.empty()
    futures = [client.submit(_block, plan, first, owned) for first, owned in spans]
    while len(futures) > 1:
        pairs = [futures[i:i + 2] for i in range(0, len(futures), 2)]
        futures = [client.submit(merge, *pair) if len(pair) == 2 else pair[0] for pair in pairs]
    return futures[0].result()
