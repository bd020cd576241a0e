#include "transfer/RunLists.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "transfer/FileName.h"
#include "transfer/ListedPlace.h"
#include "transfer/RetryPolicy.h"

namespace gw::transfer {
namespace {

// Lists fetched at once, beside the files: enough that a page of sidecars is read quickly,
// few enough not to crowd the files off the line.
constexpr std::size_t kListsAtOnce = 8;

// Only a whole body is the list: a piece of one would fail files that are fine.
std::string RefuseNonList(const platform::ResponseHead& head) {
    const long status = head.httpStatus;
    return status == 0 || (status >= 200 && status <= 203)
               ? std::string()
               : "the server answered " + std::to_string(status);
}

}  // namespace

std::string ChecksumNoteText(const ChecksumNote& note,
                             const std::function<std::string(const std::string&)>& escape) {
    const std::string name = escape(note.name);
    switch (note.kind) {
        case ChecksumNote::Kind::ListsDisagree:
            return "checksum lists disagree on " + name + "; it is not checked";
        case ChecksumNote::Kind::PastCap:
            return "checksum list " + name + " not read (the page has more than " +
                   std::to_string(kMaxChecksumLists) +
                   " checksum lists); its files are not checked";
        case ChecksumNote::Kind::LinesUnreadable:
            return std::to_string(note.count) + (note.count == 1 ? " line of " : " lines of ") +
                   name + " could not be read";
        case ChecksumNote::Kind::ListNotRead:
            break;
    }
    return "checksum list " + name + " not read (" + escape(note.reason) +
           "); its files are not checked";
}

RunLists::RunLists(const std::vector<std::string>& lists, const std::vector<std::string>& files,
                   std::size_t firstId, std::chrono::milliseconds patience,
                   std::function<void(const ChecksumNote&)> note)
    : firstId_(firstId), patience_(patience), note_(std::move(note)), files_(files.size()) {
    // Most pages publish no list: their runs pay nothing for the lookups below.
    if (lists.empty())
        return;
    std::unordered_map<std::string, std::vector<std::size_t>> byPlace;
    std::vector<std::string> folders;
    for (std::size_t i = 0; i < files.size(); ++i) {
        files_[i].address = files[i];
        folders.push_back(ListedFolder(files[i]));
        for (std::string& place : PlacesOfFile(files[i]))
            byPlace[std::move(place)].push_back(i);
    }
    std::unordered_set<std::string> seen;
    std::size_t whole = 0;
    for (const std::string& address : lists) {
        if (!seen.insert(address).second)
            continue;
        List list;
        list.address = address;
        list.name = FileNameFromAddress(address);
        const std::string_view sidecarOf = SidecarFileOf(list.name);
        if (!sidecarOf.empty()) {
            if (const auto found = byPlace.find(ListedPlace(address, sidecarOf));
                found != byPlace.end())
                list.files = found->second;
        } else {
            const std::string folder = ListedFolder(address);
            for (std::size_t i = 0; i < folders.size(); ++i) {
                if (folders[i].starts_with(folder))
                    list.files.push_back(i);
            }
        }
        if (list.files.empty())
            continue;
        if (sidecarOf.empty() && ++whole > kMaxChecksumLists) {
            tell({ChecksumNote::Kind::PastCap, list.name, {}, 0});
            continue;
        }
        const platform::HashAlgorithm algorithm =
            AlgorithmOfListName(list.name).value_or(platform::HashAlgorithm::Sha256);
        for (const std::size_t file : list.files) {
            ++files_[file].pending;
            std::vector<platform::HashAlgorithm>& promised = files_[file].promised;
            if (std::find(promised.begin(), promised.end(), algorithm) == promised.end())
                promised.push_back(algorithm);
        }
        lists_.push_back(std::move(list));
    }
}

void RunLists::tell(ChecksumNote note) const {
    if (note_)
        note_(note);
}

std::optional<RunLists::Clock::time_point> RunLists::nextDue() const {
    std::optional<Clock::time_point> due;
    for (const std::size_t index : active_) {
        const List& list = lists_[index];
        Clock::time_point when = list.giveUpAt;
        if (list.state == State::Waiting)
            when = std::min(when, list.retryAt);
        due = due ? std::min(*due, when) : when;
    }
    return due;
}

void RunLists::turn(platform::TransferEngine& engine, const std::string& referrerPage,
                    Clock::time_point now) {
    for (std::size_t at = 0; at < active_.size();) {
        const std::size_t index = active_[at];
        List& list = lists_[index];
        if (now >= list.giveUpAt) {
            if (list.state == State::Running) {
                engine.stop(firstId_ + index);
                --running_;
                list.why =
                    "it had not arrived after " +
                    std::to_string(std::chrono::ceil<std::chrono::seconds>(patience_).count()) +
                    " s";
            }
            settled(index, list.why);
            continue;  // settled() took it out of active_
        }
        if (list.state == State::Waiting && now >= list.retryAt)
            start(engine, index, referrerPage);
        ++at;
    }
    while (active_.size() < kListsAtOnce && nextQueued_ < lists_.size()) {
        const std::size_t index = nextQueued_++;
        lists_[index].giveUpAt = now + patience_;
        active_.push_back(index);
        start(engine, index, referrerPage);
    }
}

void RunLists::start(platform::TransferEngine& engine, std::size_t index,
                     const std::string& referrerPage) {
    List& list = lists_[index];
    list.state = State::Running;
    list.text.clear();
    ++list.tries;
    ++running_;
    platform::Request request;
    request.address = list.address;
    request.referrerPage = referrerPage;
    request.maxBodyBytes = kMaxChecksumListBytes;
    request.sink = [&list](const char* data, std::size_t size) {
        list.text.append(data, size);
        return true;
    };
    request.checkHead = RefuseNonList;
    engine.start(firstId_ + index, std::move(request));
}

void RunLists::settle(const platform::FinishedTransfer& done, Clock::time_point now) {
    const std::size_t index = done.id - firstId_;
    List& list = lists_[index];
    --running_;
    if (done.result.ok)
        return settled(index, std::nullopt);
    list.why = done.result.error;
    const auto pause =
        PauseBeforeTry(list.tries + 1, MayPass(done.result),
                       ParseRetryAfter(done.result.retryAfter, std::chrono::system_clock::now()));
    if (!pause)
        return settled(index, list.why);
    list.state = State::Waiting;
    list.retryAt = now + *pause;
}

void RunLists::settled(std::size_t index, const std::optional<std::string>& why) {
    List& list = lists_[index];
    list.state = State::Done;
    std::erase(active_, index);
    if (why) {
        tell({ChecksumNote::Kind::ListNotRead, list.name, *why, 0});
    } else {
        const ReadList read = ReadChecksumList(list.text, list.name);
        if (read.hashes.empty()) {
            tell({ChecksumNote::Kind::ListNotRead, list.name, "no checksums in it", 0});
        } else {
            if (read.unreadable > 0)
                tell({ChecksumNote::Kind::LinesUnreadable, list.name, {}, read.unreadable});
            book_.add(list.address, read.hashes);
        }
    }
    std::string().swap(list.text);
    for (const std::size_t file : list.files) {
        if (--files_[file].pending == 0 && book_.disagree(files_[file].address))
            tell({ChecksumNote::Kind::ListsDisagree,
                  FileNameFromAddress(files_[file].address),
                  {},
                  0});
    }
}

void RunLists::stopAll(platform::TransferEngine& engine) {
    for (const std::size_t index : active_) {
        if (lists_[index].state == State::Running)
            engine.stop(firstId_ + index);
        lists_[index].state = State::Done;
    }
    active_.clear();
    nextQueued_ = lists_.size();
    running_ = 0;
}

}  // namespace gw::transfer
