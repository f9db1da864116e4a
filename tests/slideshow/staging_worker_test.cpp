#include "slideshow/staging_worker.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "decode_gate.h"
#include "hosts/headless/headless_host.h"
#include "temp_folder.h"

namespace pictavo::slideshow {
namespace {

using imaging::rgb;
using namespace std::chrono_literals;

// A worker on the headless host whose decodes pass a gate the test holds.
class StagingWorkerTest : public ::testing::Test {
  protected:
    StagingWorkerTest() { host.setDecoderSource(testing::gatedPpmDecoders(gate)); }

    PictureOrder orderFor(const std::string& name) const {
        PictureOrder order;
        order.name = name;
        order.path = (folder.path() / name).string();
        order.width = order.stagedWidth = 64;
        order.height = order.stagedHeight = 48;
        return order;
    }
    // The confirmed picture, waited for as the window's thread would.
    std::optional<PreparedPicture> confirmed() {
        worker.confirm();
        for (int i = 0; i < 10000; ++i) {
            if (auto prepared = worker.takeConfirmed()) return prepared;
            host.eventLoop().awaitWake(1000);
        }
        return std::nullopt;
    }
    static imaging::Pixel middle(const PreparedPicture& prepared) {
        return prepared.image.at(prepared.image.width / 2, prepared.image.height / 2);
    }

    TempFolder folder;
    std::shared_ptr<testing::DecodeGate> gate = std::make_shared<testing::DecodeGate>();
    platform::headless::HeadlessHost host;
    StagingWorker worker{host};
};

TEST_F(StagingWorkerTest, APictureIsPreparedAheadAndTakenWithoutReadingItAgain) {
    testing::writePpm(folder.path() / "a.bmp", 20, 10, rgb(200, 0, 0));
    worker.prepare(orderFor("a.bmp"));
    ASSERT_TRUE(gate->waitFor(1, 1));
    auto prepared = confirmed();
    ASSERT_TRUE(prepared);
    ASSERT_TRUE(prepared->loaded);
    EXPECT_EQ(prepared->pictureWidth, 20);
    EXPECT_EQ(middle(*prepared), rgb(200, 0, 0));
    EXPECT_EQ(gate->arrived(), 1) << "an unchanged file is not decoded twice";
    EXPECT_FALSE(worker.ordered()) << "a taken picture's order is done with";
    EXPECT_FALSE(worker.takeConfirmed());
}

TEST_F(StagingWorkerTest, AFileChangedOrGoneSinceItWasReadIsReadAgain) {
    testing::writePpm(folder.path() / "a.bmp", 20, 10, rgb(200, 0, 0));
    worker.prepare(orderFor("a.bmp"));
    ASSERT_TRUE(gate->waitFor(1, 1));
    testing::writePpm(folder.path() / "a.bmp", 21, 10, rgb(0, 0, 200));
    auto again = confirmed();
    ASSERT_TRUE(again && again->loaded);
    EXPECT_EQ(middle(*again), rgb(0, 0, 200));
    EXPECT_EQ(again->pictureWidth, 21);

    worker.prepare(orderFor("a.bmp"));
    ASSERT_TRUE(gate->waitFor(3, 3));
    std::filesystem::remove(folder.path() / "a.bmp");
    auto gone = confirmed();
    ASSERT_TRUE(gone);
    ASSERT_FALSE(gone->loaded);
    EXPECT_EQ(gone->loaded.error().message, "cannot open file: file not found");
}

TEST_F(StagingWorkerTest, ANewOrderCancelsTheDecodeInProgressAndOnlyItsPictureComes) {
    testing::writePpm(folder.path() / "a.bmp", 20, 10, rgb(200, 0, 0));
    testing::writePpm(folder.path() / "b.bmp", 20, 10, rgb(0, 200, 0));
    gate->close();
    worker.prepare(orderFor("a.bmp"));
    ASSERT_TRUE(gate->waitFor(1));
    worker.prepare(orderFor("b.bmp"));
    ASSERT_TRUE(gate->waitFor(1, 0, 1)) << "the first decode was not cancelled";
    gate->open();
    auto prepared = confirmed();
    ASSERT_TRUE(prepared && prepared->loaded);
    EXPECT_EQ(prepared->order.name, "b.bmp");
    EXPECT_EQ(middle(*prepared), rgb(0, 200, 0));
}

TEST_F(StagingWorkerTest, ADroppedOrderIsCancelledAndGivesNothing) {
    testing::writePpm(folder.path() / "a.bmp", 20, 10, rgb(200, 0, 0));
    gate->close();
    worker.prepare(orderFor("a.bmp"));
    ASSERT_TRUE(gate->waitFor(1));
    worker.drop();
    ASSERT_TRUE(gate->waitFor(1, 0, 1));
    gate->open();
    worker.confirm();
    host.eventLoop().awaitWake(20'000);
    EXPECT_FALSE(worker.takeConfirmed());
}

TEST_F(StagingWorkerTest, AtTheEndACancelledDecodeIsJoined) {
    testing::writePpm(folder.path() / "a.bmp", 20, 10, rgb(200, 0, 0));
    gate->close();
    worker.prepare(orderFor("a.bmp"));
    ASSERT_TRUE(gate->waitFor(1));
    worker.stop();
    EXPECT_TRUE(worker.joined());
}

TEST_F(StagingWorkerTest, AtTheEndAThreadThatCannotBeInterruptedIsLeftBehind) {
    testing::writePpm(folder.path() / "a.bmp", 20, 10, rgb(200, 0, 0));
    gate->close();
    gate->ignoreCancel();
    worker.prepare(orderFor("a.bmp"));
    ASSERT_TRUE(gate->waitFor(1));
    worker.stop();
    EXPECT_FALSE(worker.joined());
    // Let the thread left behind finish; it holds its own share of the gate.
    gate->open();
    ASSERT_TRUE(gate->waitFor(1, 1));
}

TEST(HeadlessLoop, AnotherThreadsWakeOrInputEndsAWaitThatLeavesTheClockAlone) {
    platform::headless::HeadlessHost host;
    auto& loop = host.eventLoop();
    const auto started = std::chrono::steady_clock::now();
    std::thread waker([&] {
        std::this_thread::sleep_for(20ms);
        loop.wake();
    });
    loop.awaitWake(20'000'000);
    waker.join();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 10s) << "the wake did not end the wait";
    EXPECT_EQ(host.clock().nowMicros(), 0);

    bool dispatched = false;
    std::thread poster([&] { loop.post([&] { dispatched = true; }); });
    poster.join();
    loop.awaitWake(20'000'000);
    EXPECT_TRUE(dispatched);

    // A wait for the clock with nothing posted takes simulated time only.
    loop.waitForEvents(5'000'000);
    EXPECT_EQ(host.clock().nowMicros(), 5'000'000);
}

}  // namespace
}  // namespace pictavo::slideshow
