// Every board operation, with each driver call it makes failing in turn: the
// operation must report the failure, deliver no samples, and stay inside its
// buffers (the fake scribbles over every buffer a failing read is given, and
// the destination arrays are exactly as large as asked, so the sanitizer
// build catches any stray access).

#include "Ad7175.h"

#include "LinkTest.h"

#include <array>
#include <functional>
#include <vector>

namespace {

struct Operation {
    const char* name;
    bool needsOpenBoard;
    std::function<void(FakeD2xx&, TADC&)> prepare;
    std::function<bool(TADC&, std::int32_t& got)> run;
    std::int32_t expectedGot;
};

void AnswerEveryCommand(FakeD2xx& fake)
{
    for (const char* command : {"?\r", "S3\r", "S5\r", "F7\r"}) {
        fake.Answer(command, {"OK\r"});
    }
    fake.Answer("U?\r", {"KORVADEX\r"});
    fake.Answer("V?\r", {"1.0\r"});
}

bool ReadCodes(TADC& adc, std::int32_t count, std::int32_t& got)
{
    std::vector<std::int32_t> codes(static_cast<std::size_t>(count));
    return adc.ReadData1(codes.data(), got, count);
}

bool ReadFrames(TADC& adc, std::int32_t count, std::int32_t& got)
{
    std::vector<std::int32_t> ch0(static_cast<std::size_t>(count));
    std::vector<std::int32_t> ch1(static_cast<std::size_t>(count));
    return adc.ReadData2(ch0.data(), ch1.data(), count, got);
}

void Nothing(FakeD2xx&, TADC&) {}

char* Text()
{
    static char text[TADC::NameLength + 1];
    return text;
}

std::vector<Operation> Operations()
{
    return {
        {"OpenBoard", false, Nothing, [](TADC& adc, std::int32_t&) { return adc.OpenBoard(); }, 0},
        {"CheckBoard", true, Nothing, [](TADC& adc, std::int32_t&) { return adc.CheckBoard(); }, 0},
        {"GetBoardName", true, Nothing, [](TADC& adc, std::int32_t&) { return adc.GetBoardName(Text()); }, 0},
        {"GetVersion", true, Nothing, [](TADC& adc, std::int32_t&) { return adc.GetVersion(Text()); }, 0},
        {"SetSinc3", true, Nothing, [](TADC& adc, std::int32_t&) { return adc.SetSinc3(); }, 0},
        {"SetSinc5", true, Nothing, [](TADC& adc, std::int32_t&) { return adc.SetSinc5(); }, 0},
        {"SetDataRate", true, Nothing, [](TADC& adc, std::int32_t&) { return adc.SetDataRate(7); }, 0},
        {"StartMeasure", true, Nothing, [](TADC& adc, std::int32_t&) { return adc.StartMeasure(2, 1000); }, 0},
        {"StopMeasure", true, Nothing, [](TADC& adc, std::int32_t&) { return adc.StopMeasure(); }, 0},
        {"ReadData1", true, [](FakeD2xx& fake, TADC&) { fake.Arrive(std::string(300, '\x55')); },
         [](TADC& adc, std::int32_t& got) { return ReadCodes(adc, 100, got); }, 100},
        {"ReadData2", true, [](FakeD2xx& fake, TADC&) { fake.Arrive(std::string(6000, '\x55')); },
         [](TADC& adc, std::int32_t& got) { return ReadFrames(adc, 1000, got); }, 1000},
        // A driver that delivers short leaves bytes carried over; the next
        // read joins them with new ones and keeps the surplus.
        {"ReadData1 after a short read", true,
         [](FakeD2xx& fake, TADC& adc) {
             fake.Arrive(std::string(600, '\x55'));
             fake.LimitReadsTo(200);
             std::int32_t got = 0;
             ASSERT_TRUE(ReadCodes(adc, 100, got));
             ASSERT_EQ(got, 0);
         },
         [](TADC& adc, std::int32_t& got) { return ReadCodes(adc, 100, got); }, 100},
    };
}

// A board ready for one operation, the driver's call counts taken just before it.
struct Scenario {
    explicit Scenario(const Operation& operation)
    {
        AnswerEveryCommand(fake);
        if (operation.needsOpenBoard) {
            EXPECT_TRUE(adc.OpenBoard());
        }
        operation.prepare(fake, adc);
        for (int call = 0; call < FakeD2xx::CallKinds; ++call) {
            before[call] = fake.Calls(static_cast<FakeD2xx::Call>(call));
        }
    }

    FakeD2xx fake;
    TADC adc{nullptr, fake};
    std::array<int, FakeD2xx::CallKinds> before{};
};

class FailureSweep : public LinkTest {};

TEST_F(FailureSweep, EveryDriverCallFailingInTurnFailsTheOperation)
{
    std::array<bool, FakeD2xx::CallKinds> exercised{};
    for (const Operation& operation : Operations()) {
        SCOPED_TRACE(operation.name);
        std::array<int, FakeD2xx::CallKinds> callsMade{};
        {
            Scenario clean(operation);
            std::int32_t got = -1;
            ASSERT_TRUE(operation.run(clean.adc, got));
            if (operation.expectedGot > 0) {
                ASSERT_EQ(got, operation.expectedGot);
            }
            for (int call = 0; call < FakeD2xx::CallKinds; ++call) {
                callsMade[call] = clean.fake.Calls(static_cast<FakeD2xx::Call>(call)) - clean.before[call];
            }
        }
        for (int call = 0; call < FakeD2xx::CallKinds; ++call) {
            const auto kind = static_cast<FakeD2xx::Call>(call);
            for (int nth = 1; nth <= callsMade[call]; ++nth) {
                SCOPED_TRACE(std::string(FakeD2xx::CallName(kind)) + " call " + std::to_string(nth));
                Scenario failing(operation);
                failing.fake.FailCall(kind, failing.before[call] + nth);
                std::int32_t got = -1;
                EXPECT_FALSE(operation.run(failing.adc, got));
                if (operation.expectedGot > 0) {
                    EXPECT_EQ(got, 0) << "no samples from a failed read";
                }
                exercised[call] = true;
            }
        }
    }
    for (int call = 0; call < FakeD2xx::CallKinds; ++call) {
        if (call != FakeD2xx::Close) { // only called on the way out; see below
            EXPECT_TRUE(exercised[call]) << FakeD2xx::CallName(static_cast<FakeD2xx::Call>(call));
        }
    }
}

TEST_F(FailureSweep, AFailedCloseStillLeavesTheLinkClosed)
{
    fake.FailEveryCall(FakeD2xx::Close);
    {
        TADC adc(nullptr, fake);
        ASSERT_TRUE(adc.OpenBoard());
        adc.CloseBoard();
        const int before = fake.TotalCalls();
        EXPECT_FALSE(adc.StopMeasure());
        EXPECT_EQ(fake.TotalCalls(), before);
        ASSERT_TRUE(adc.OpenBoard());
    }
    EXPECT_EQ(fake.Calls(FakeD2xx::Close), 2) << "the destructor closed the reopened link";
}

TEST_F(FailureSweep, AFailedCloseWhileOpeningLeavesTheLinkClosed)
{
    fake.FailCall(FakeD2xx::SetUSBParameters, 1);
    fake.FailCall(FakeD2xx::Close, 1);
    TADC adc(nullptr, fake);
    EXPECT_FALSE(adc.OpenBoard());
    EXPECT_FALSE(adc.StopMeasure());
    EXPECT_EQ(fake.Calls(FakeD2xx::Write), 0);
}

} // namespace
