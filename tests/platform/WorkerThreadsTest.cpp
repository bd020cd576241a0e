// The worker threads: what reaches the caller when the work fails or throws, the order and the
// bound they promise, and what their ends leave behind.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "platform/CommitThread.h"
#include "platform/Hasher.h"
#include "platform/PieceThread.h"
#include "platform/SideThread.h"
#include "support/TempEnvironment.h"

namespace fs = std::filesystem;
using namespace gw::platform;

// Same-name files go into place in the order handed, the last one standing; a failed rename
// (a folder at the name) and a commit that throws are failures with their reasons; the
// destructor puts every file still queued into place; no hidden file is left.
TEST(CommitThread, CommitsInOrderAndTurnsEveryFailureIntoAReason) {
    const fs::path root = fs::path(gw::test::TestRoot()) / "files";
    fs::create_directories(root / "folder" / "inside");
    const struct {
        std::string name;
        int throws;  // the writer whose tags throw
        std::vector<bool> ok;
        const char* reason;
    } rows[] = {{"same", -1, {true, true, true}, ""},
                {"folder", -1, {false}, "cannot be put in place"},
                {"thrown", 1, {true, false, true}, "no memory for tags"},
                {"drained", -1, std::vector<bool>(10), ""}};
    for (const auto& row : rows) {
        std::vector<CommitThread::Committed> ended;
        {
            CommitThread thread;
            for (std::size_t i = 0; i < row.ok.size(); ++i) {
                auto writer = std::make_unique<FileWriter>(root.string() + "/", row.name);
                writer->write(std::to_string(i).data(), 1);
                if (static_cast<int>(i) == row.throws)
                    writer->setTags([](const FileStamp&) -> std::vector<FileTag> {
                        throw std::runtime_error("no memory for tags");
                    });
                thread.commitLater(i, std::move(writer));
            }
            while (row.name != "drained" && ended.size() < row.ok.size()) {
                for (CommitThread::Committed& one : thread.takeCommitted(std::chrono::seconds(5)))
                    ended.push_back(std::move(one));
            }
        }
        for (std::size_t i = 0; i < ended.size(); ++i) {
            EXPECT_EQ(ended[i].id, i) << row.name;
            EXPECT_EQ(ended[i].ok, row.ok[i]) << row.name;
            EXPECT_TRUE(row.ok[i] || ended[i].error.find(row.reason) != std::string::npos)
                << ended[i].error;
        }
        if (row.name != "folder") {
            std::ifstream in(root / row.name);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
                      std::to_string(row.ok.size() - 1));
        }
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(root), {}), 4);
}

// A slow consumer holds the caller back at the bound; a consumer that throws ends the
// consuming with its reason.
TEST(PieceThread, HoldsTheCallerBackAndKeepsWhatTheConsumerThrew) {
    constexpr std::size_t kPiece = 64 * 1024, kBound = 1024 * 1024;
    std::atomic<std::size_t> added{0};
    std::size_t consumed = 0, mostAhead = 0;
    int calls = 0;
    const auto test = [&](bool throwing) {
        PieceThread thread([&](std::string_view bytes) {
            mostAhead = std::max(mostAhead, added.load() - consumed);
            consumed += bytes.size();
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            if (throwing && ++calls == 2)
                throw std::runtime_error("the harvest broke");
        });
        const std::string piece(kPiece, 'x');
        for (int i = 0; i < 64; ++i, added += kPiece)
            thread.add(piece.data(), piece.size());
        thread.drain();
        EXPECT_EQ(thread.failure(), throwing ? "the harvest broke" : "");
    };
    test(false);
    EXPECT_EQ(consumed, 64 * kPiece);
    EXPECT_LE(mostAhead, kBound + 2 * kPiece);
    test(true);
    EXPECT_EQ(calls, 2);
}

// The two halves run at once (`beside` waits for what `here` sets), run after run on the one
// thread; what either throws reaches the caller, and only once `beside` has ended.
TEST(SideThread, RunsBothHalvesAtOnceAndThrowsWhatEitherThrew) {
    SideThread thread;
    const struct {
        bool besideThrows, hereThrows;
        const char* reason;
    } rows[] = {{false, false, ""},
                {true, false, "the media reading broke"},
                {false, true, "the anchor walk broke"},
                {true, true, "the anchor walk broke"},
                {false, false, ""}};
    for (const auto& row : rows) {
        for (int run = 0; run < 50; ++run) {
            std::atomic<bool> hereStarted{false}, besideEnded{false};
            bool endedBeforeThrow = false;
            std::string reason;
            try {
                thread.Run(
                    [&] {
                        while (!hereStarted)
                            std::this_thread::yield();
                        besideEnded = true;
                        if (row.besideThrows)
                            throw std::runtime_error("the media reading broke");
                    },
                    [&] {
                        hereStarted = true;
                        if (row.hereThrows)
                            throw std::runtime_error("the anchor walk broke");
                    });
            } catch (const std::exception& caught) {
                reason = caught.what();
                endedBeforeThrow = besideEnded;
            }
            EXPECT_EQ(reason, row.reason);
            EXPECT_TRUE(besideEnded);
            EXPECT_TRUE(reason.empty() || endedBeforeThrow);
        }
    }
}

// Bytes in pieces hash as the whole; a restart forgets what came before.
TEST(Hasher, HashesPiecesAsTheWholeAndForgetsOnRestart) {
    const std::tuple<HashAlgorithm, std::string, std::string> rows[] = {
        {HashAlgorithm::Md5, "", "d41d8cd98f00b204e9800998ecf8427e"},
        {HashAlgorithm::Sha256, "abc",
         "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {HashAlgorithm::Sha1, "abc", "a9993e364706816aba3e25717850c26c9cd0d89d"}};
    for (const auto& [algorithm, text, hex] : rows) {
        Hasher hasher(algorithm);
        hasher.add("before", 6);
        hasher.restart();
        for (const char c : text)
            hasher.add(&c, 1);
        EXPECT_EQ(hasher.hex(), hex) << AlgorithmName(algorithm);
    }
}
