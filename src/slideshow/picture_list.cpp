#include "slideshow/picture_list.h"

#include "files/file_list.h"

namespace pictavo::slideshow {

PictureList PictureList::read(const platform::FileSystem& files, const std::string& folder) {
    auto names = files::listFiles(files, folder, files::kPicturePatterns);
    if (!names) return PictureList{};
    return PictureList{std::move(*names)};
}

Pick pickNextPicture(const PictureList& list, Random& random, const std::optional<int>& last) {
    for (;;) {
        int index = random.pick(list.ListCount());
        if (index != last) return Pick{index, false};
        // With two or more pictures another draw always finds a different one.
        if (list.ListCount() == 1) return Pick{index, true};
    }
}

}  // namespace pictavo::slideshow
