#pragma once
// A small text file of sections and key=value lines: the Linux home of the
// saver's settings and of the few system values it reads.
//
//   [Brackenfeld Applications\Pictavo]
//   Interval=10
//
// Values are escaped (\\, \n, \r, \t, \xHH for other control characters)
// so any text survives. Writing replaces the file atomically: a new file in
// the same folder, flushed to disk, then renamed over the old one.

#include <map>
#include <optional>
#include <string>
#include <utility>

#include "common/result.h"

namespace pictavo::platform::posix {

class IniFile {
  public:
    using Sections = std::map<std::string, std::map<std::string, std::string>>;

    // Reads path; a missing file is an empty store, not an error.
    static Result<IniFile> load(const std::string& path);
    static IniFile parse(const std::string& text);

    std::optional<std::string> get(const std::string& section, const std::string& key) const;
    void set(const std::string& section, const std::string& key, const std::string& value);
    std::string serialise() const;
    // Writes the whole file atomically; on failure the old file is untouched
    // and no temporary file stays behind.
    Result<void> save(const std::string& path) const;

    const Sections& sections() const { return sections_; }

  private:
    Sections sections_;
};

std::string escapeValue(const std::string& value);
std::string unescapeValue(const std::string& text);

}  // namespace pictavo::platform::posix
