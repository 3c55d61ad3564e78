// The folder run's memory budget: what a picture reserves, and that the pictures in flight
// never hold more than the budget, whatever the number of workers.
#include <atomic>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

#include "cli/Convert.h"
#include "cli/Folder.h"
#include "cli/MemoryBudget.h"
#include "platform/Picture.h"

namespace {

using namespace nt::cli;
using namespace std::chrono_literals;

// A reservation that does not fit waits for one given back; one larger than the whole budget
// waits for the budget to be empty, then runs alone.
TEST(MemoryBudget, WaitsUntilTheReservationFits) {
    MemoryBudget budget(100);
    budget.take(60);
    std::atomic<bool> took{false};
    std::thread second([&] {
        budget.take(50);
        took = true;
    });
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(took) << "60 + 50 exceed the budget of 100";
    budget.give(60);
    second.join();
    EXPECT_TRUE(took);

    std::atomic<bool> tookHuge{false};
    std::thread huge([&] {
        budget.take(250);
        tookHuge = true;
    });
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(tookHuge) << "a picture beyond the budget waits for the others";
    budget.give(50);
    huge.join();
    EXPECT_TRUE(tookHuge);
    EXPECT_EQ(budget.peak(), 250);
    budget.give(250);
}

// Six pictures that must be whole in memory (wave), on three workers: with room for one only
// one is ever in flight, with room for two never three; every result is written either way.
TEST(MemoryBudget, FolderRunKeepsWithinIt) {
    QTemporaryDir dir;
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(0x336699);
    FolderJob job;
    job.outDir = dir.filePath("out");
    job.steps.push_back({findOperation("wave"), {}});
    for (int i = 0; i < 6; ++i) {
        job.inputs << dir.filePath(QStringLiteral("p%1.bmp").arg(i));
        ASSERT_FALSE(nt::savePictureBmp(picture, job.inputs.back()));
    }
    // The picture, a working copy of it, 4 bytes a pixel; a stretch adds its result.
    const std::int64_t need = memoryNeed(job.inputs[0], job.steps);
    EXPECT_EQ(need, 2 * 300 * 200 * 4);
    std::vector<Step> stretched = job.steps;
    stretched.push_back({findOperation("stretch"), {"600", "500"}});
    EXPECT_EQ(memoryNeed(job.inputs[0], stretched), need + 600 * 500 * 4);

    const std::atomic<bool> stop{false};
    for (const std::int64_t room : {need + need / 2, 2 * need}) {
        ASSERT_TRUE(QDir(job.outDir).removeRecursively());
        MemoryBudget budget(room);
        EXPECT_EQ(runFolderJob(job, stop, budget, 3), kOk);
        EXPECT_LE(budget.peak(), room);
        EXPECT_GE(budget.peak(), need);
        EXPECT_EQ(QDir(job.outDir).entryList(QDir::Files).size(), 6);
    }
}

}  // namespace
