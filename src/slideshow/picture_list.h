#pragma once
// The pictures of the one folder a show draws from, and the random pick
// that never brings the same picture twice in a row.

#include <optional>
#include <string>
#include <vector>

#include "common/random.h"
#include "platform/file_system.h"

namespace pictavo::slideshow {

class PictureList {
  public:
    PictureList() = default;
    explicit PictureList(std::vector<std::string> names) : names_(std::move(names)) {}

    // The matching plain files of folder, read once. A folder that does not
    // exist or cannot be read lists nothing, so the show reports that folder
    // as empty instead of showing whatever another folder holds.
    static PictureList read(const platform::FileSystem& files, const std::string& folder);

    int ListCount() const { return static_cast<int>(names_.size()); }
    const std::string& List(int index) const { return names_.at(static_cast<size_t>(index)); }
    bool empty() const { return names_.empty(); }

  private:
    std::vector<std::string> names_;
};

struct Pick {
    int index = 0;
    // The only picture of the list was loaded last time: nothing to load.
    bool onlyPictureAgain = false;
};

// Picks uniformly among all indices except last. The list must not be empty.
Pick pickNextPicture(const PictureList& list, Random& random, const std::optional<int>& last);

}  // namespace pictavo::slideshow
