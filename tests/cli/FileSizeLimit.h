#pragma once

#include <QtGlobal>

class QProcess;

// A full disk, made for one process: before the start, a limit on the size
// of any file it writes, with the signal for crossing it ignored, so that
// the write that would cross it fails (EFBIG) as a write to a full disk does.
// Platform code: FileSizeLimit_posix.cpp; Windows has no such limit, and
// returns false.
bool LimitFileSize(QProcess& process, qint64 bytes);
