#pragma once

#include <QFileDevice>
#include <QString>

#include <cstdint>
#include <memory>
#include <string_view>

// Writes a file as bytes with CR LF line ends on every platform. A regular
// file is written to a temporary file beside it that replaces it only when
// Commit finds every byte written and flushed, so a failed save leaves the
// earlier file as it was. Where no temporary file may be made beside it (a
// folder the user may not write to), an existing file the user may write is
// written in place instead; a failed write then still fails the save, but the
// file keeps what was written. A device such as /dev/full cannot be replaced
// and is written directly.
class LineWriter {
public:
    bool Open(const QString& fileName);

    void Put(std::string_view text);
    void PutChar(char c);
    void PutInteger(std::int32_t value);
    void EndLine();
    void PutLine(std::string_view text);

    // True when every write succeeded and the file now holds them; otherwise
    // the temporary file is discarded and the target left untouched.
    bool Commit();

private:
    void Flush();

    static constexpr std::size_t BufferBytes = 64 * 1024;
    // "-2147483648" is the longest integer written.
    static constexpr std::size_t IntegerBytes = 11;

    std::unique_ptr<QFileDevice> file_;
    std::unique_ptr<char[]> buffer_ = std::make_unique<char[]>(BufferBytes);
    std::size_t used_ = 0;
    bool failed_ = false;
};
