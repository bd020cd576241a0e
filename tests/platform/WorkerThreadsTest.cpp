// The worker threads: what reaches the caller when the work fails or throws, the order and the
// bound they promise, and what their ends leave behind.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

#include "platform/CommitThread.h"
#include "platform/Hasher.h"
#include "platform/PieceThread.h"
#include "support/TempEnvironment.h"

namespace fs = std::filesystem;
using namespace gw::platform;

namespace {

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Writers for `name`, each with its index as its bytes; `throws` makes the one at that index
// throw from the commit.
std::vector<std::unique_ptr<FileWriter>> Writers(const std::string& name, int count, int throws) {
    std::vector<std::unique_ptr<FileWriter>> writers;
    for (int i = 0; i < count; ++i) {
        auto writer = std::make_unique<FileWriter>(gw::test::TestRoot() + "/files/", name);
        writer->write(std::to_string(i).data(), 1);
        if (i == throws)
            writer->setTags([](const FileStamp&) -> std::vector<FileTag> {
                throw std::runtime_error("no memory for tags");
            });
        writers.push_back(std::move(writer));
    }
    return writers;
}

}  // namespace

// Same-name files go into place in the order handed, the last one standing; a failed rename
// (a folder at the name) and a commit that throws are failures with their reasons; the
// destructor puts every file handed into place before it returns; no hidden file is left.
TEST(CommitThread, CommitsInOrderAndTurnsEveryFailureIntoAReason) {
    const fs::path root = fs::path(gw::test::TestRoot()) / "files";
    fs::create_directories(root / "folder" / "inside");
    struct Row {
        std::string name;
        int throws;
        std::vector<bool> ok;
        const char* reason;
        const char* standing;
    } rows[] = {{"same", -1, {true, true, true}, "", "2"},
                {"folder", -1, {false}, "cannot be put in place", nullptr},
                {"thrown", 1, {true, false, true}, "no memory for tags", "2"}};
    for (const Row& row : rows) {
        CommitThread thread;
        auto writers = Writers(row.name, static_cast<int>(row.ok.size()), row.throws);
        for (std::size_t i = 0; i < writers.size(); ++i)
            thread.hand(i, std::move(writers[i]));
        std::vector<CommitThread::Committed> ended;
        while (ended.size() < row.ok.size()) {
            for (CommitThread::Committed& one : thread.ended(std::chrono::seconds(5)))
                ended.push_back(std::move(one));
        }
        for (std::size_t i = 0; i < ended.size(); ++i) {
            EXPECT_EQ(ended[i].id, i) << row.name;
            EXPECT_EQ(ended[i].ok, row.ok[i]) << row.name;
            if (!row.ok[i]) {
                EXPECT_NE(ended[i].error.find(row.reason), std::string::npos) << ended[i].error;
            }
        }
        if (row.standing) {
            EXPECT_EQ(ReadAll(root / row.name), row.standing);
        }
    }
    {
        CommitThread thread;
        auto writers = Writers("drained", 10, -1);
        for (std::size_t i = 0; i < writers.size(); ++i)
            thread.hand(i, std::move(writers[i]));
    }
    EXPECT_EQ(ReadAll(root / "drained"), "9");
    EXPECT_EQ(std::distance(fs::directory_iterator(root), {}), 4);
}

// A slow consumer holds the caller back at the bound; a consumer that throws ends the
// consuming with its reason.
TEST(PieceThread, HoldsTheCallerBackAndKeepsWhatTheConsumerThrew) {
    constexpr std::size_t kPiece = 64 * 1024, kBound = 1024 * 1024;
    std::atomic<std::size_t> added{0};
    std::size_t consumed = 0, mostAhead = 0;
    PieceThread thread([&](std::string_view bytes) {
        mostAhead = std::max(mostAhead, added.load() - consumed);
        consumed += bytes.size();
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    });
    const std::string piece(kPiece, 'x');
    for (int i = 0; i < 64; ++i) {
        thread.add(piece.data(), piece.size());
        added += piece.size();
    }
    thread.drain();
    EXPECT_EQ(consumed, 64 * kPiece);
    EXPECT_LE(mostAhead, kBound + 2 * kPiece);
    EXPECT_EQ(thread.failure(), "");

    int calls = 0;
    PieceThread throwing([&](std::string_view) {
        if (++calls == 2)
            throw std::runtime_error("the harvest broke");
    });
    for (int i = 0; i < 4; ++i)
        throwing.add(piece.data(), piece.size());
    throwing.drain();
    EXPECT_EQ(throwing.failure(), "the harvest broke");
    EXPECT_EQ(calls, 2);
}

// Bytes in pieces hash as the whole; a restart forgets what came before; an empty input has
// its hash too.
TEST(Hasher, HashesPiecesAsTheWholeAndForgetsOnRestart) {
    struct Row {
        HashAlgorithm algorithm;
        std::vector<std::string> before, pieces;
        std::string hex;
    } rows[] = {
        {HashAlgorithm::Md5, {}, {}, "d41d8cd98f00b204e9800998ecf8427e"},
        {HashAlgorithm::Sha256,
         {"x"},
         {"a", "", "bc"},
         "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {HashAlgorithm::Sha1, {"abc"}, {"abc"}, "a9993e364706816aba3e25717850c26c9cd0d89d"},
    };
    for (const Row& row : rows) {
        Hasher hasher(row.algorithm);
        for (const std::string& piece : row.before)
            hasher.add(piece.data(), piece.size());
        if (!row.before.empty())
            hasher.restart();
        for (const std::string& piece : row.pieces)
            hasher.add(piece.data(), piece.size());
        EXPECT_EQ(hasher.hex(), row.hex) << AlgorithmName(row.algorithm);
        EXPECT_EQ(row.hex.size(), HexLength(row.algorithm));
    }
}
