#pragma once

namespace pictavo::platform {

class Cursor {
  public:
    virtual ~Cursor() = default;
    // Raises (show) or lowers the cursor's display count by one and returns
    // the new count; the cursor is visible while the count is 0 or more.
    virtual int showCursor(bool show) = 0;
};

}  // namespace pictavo::platform
