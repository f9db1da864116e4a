#include "artwork/artwork.h"

#include "artwork/pictures.h"

namespace pictavo::artwork {

imaging::Image image(std::string_view name) {
    if (name == "texture") return drawTexture();
    if (name == "icon") return drawIcon();
    if (name == "padlock") return drawPadlock();
    return {};
}

}  // namespace pictavo::artwork
