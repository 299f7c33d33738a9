// Feeds arbitrary bytes to TestRecordJson::Read. Whatever the bytes, a
// refusal gives its reason; a record that reads writes as JSON that reads
// back to the very same record.
#include "TestRecordJson.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "record JSON fuzz: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString error;
    const std::optional<BoardRecord> record = TestRecordJson::Read(bytes, error);
    if (!record) {
        Require(!error.isEmpty(), "a refusal without a reason");
        return 0;
    }
    const QByteArray written = TestRecordJson::Write(*record);
    const std::optional<BoardRecord> again = TestRecordJson::Read(written, error);
    Require(again.has_value(), "a record written does not read back");
    Require(TestRecordJson::Write(*again) == written, "a record read back writes otherwise");
    return 0;
}
