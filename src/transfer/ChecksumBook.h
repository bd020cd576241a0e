#pragma once

#include <array>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "transfer/ChecksumList.h"

namespace gw::transfer {

// What a file must hash to, and the list that says so.
struct ExpectedHash {
    platform::HashAlgorithm algorithm = platform::HashAlgorithm::Sha256;
    std::string hex;
    std::string listName;
};

// Every list of a run read together: per place (see ListedPlace), the strongest hash any list
// gives.
class ChecksumBook {
  public:
    void add(const std::string& listAddress, const std::vector<ListedHash>& hashes);

    // Nothing when no list names the file at `fileAddress`, or when lists give it different
    // hashes of one algorithm: a file whose lists disagree is not checked.
    std::optional<ExpectedHash> expected(const std::string& fileAddress) const;
    bool disagree(const std::string& fileAddress) const;

  private:
    struct Listed {
        std::array<std::optional<ExpectedHash>, 4> byAlgorithm;  // weakest first
        bool disagree = false;
    };
    const Listed* find(const std::string& fileAddress) const;

    std::unordered_map<std::string, Listed> places_;
};

}  // namespace gw::transfer
