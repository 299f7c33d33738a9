#pragma once

#include <QString>

#include <cstdint>

// Adds block summaries (LogLayout's /summary) to an HDF5 log that has none:
// one written before logs had them, or by another program in the same
// layout. The codes are read once, in large slices, and every level made
// on the way, into a group linked to no name; only when it is whole is it
// linked as /summary and the file flushed. The superblock HDF5 marks "open
// for writing" on opening is put back as it was meanwhile, so a failure (a
// full disk, a code no converter gives) or a kill before the link leaves
// the file as it was, with a little unreachable space in it.
class Hdf5LogIndexer {
public:
    // Samples (pairs) read at a time: 4 MiB a channel, whole blocks.
    static constexpr std::int64_t SliceSamples = 1 << 20;

    // False with Error() for a file that is no log, one marked open for
    // writing, one that has /summary already (unless `rebuild`, which
    // replaces it), or a failure on the way.
    bool Index(const QString& path, bool rebuild);
    QString Error() const { return error_; }

private:
    QString error_;
};
