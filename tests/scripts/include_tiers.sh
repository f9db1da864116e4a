#!/usr/bin/env bash
# The tiers of src/ by their includes: the core (every folder but the seam,
# the hosts, the adapters and the programs) includes no host, adapter or
# operating-system header; the seam's headers include no core header but
# plain data types; nothing but the programs includes start-up.
# Prints every include that breaks a rule and fails when there is one.
set -uo pipefail
src=${SOURCE_DIR:?}/src
broken=0

complain() {  # rule, offending lines
  [ -z "$2" ] && return
  echo "$1:"
  echo "$2" | sed 's/^/  /'
  broken=1
}

core=()
for folder in "$src"/*/; do
  case $(basename "$folder") in
    platform | hosts | adapters | app) ;;
    *) core+=("$folder") ;;
  esac
done

# Headers of the C++ library and of the core itself are fine, and the
# compiler's own SSE2 instructions (emmintrin.h, used where the compiler
# offers them); anything else in angle brackets (windows.h, unistd.h,
# FL/..., X11/..., png.h) is not.
system_headers=$(grep -rnE '^\s*#\s*include\s*<' "${core[@]}" --include='*.h' --include='*.cpp' |
  grep -vE '#\s*include\s*<(algorithm|array|atomic|bit|cassert|cctype|cerrno|charconv|chrono|climits|cmath|compare|concepts|condition_variable|cstddef|cstdint|cstdio|cstdlib|cstring|deque|exception|functional|initializer_list|iomanip|ios|iosfwd|iterator|limits|list|map|memory|mutex|new|numbers|numeric|optional|ostream|queue|random|ranges|set|span|sstream|stdexcept|string|string_view|system_error|thread|tuple|type_traits|unordered_map|unordered_set|utility|variant|vector|emmintrin\.h)>')
complain "core files including operating-system or library headers" "$system_headers"

outward=$(grep -rnE '#\s*include\s*"(hosts|adapters|app)/' "${core[@]}" "$src/platform" --include='*.h' --include='*.cpp')
complain "core or seam files including a host, an adapter or a program" "$outward"

startup=$(grep -rnE '#\s*include\s*"startup/' "$src" --include='*.h' --include='*.cpp' |
  grep -vE "^$src/(app|startup)/")
complain "files outside the programs including start-up" "$startup"

# The seam may name the core's plain data: results, pictures, byte sources.
seam=$(grep -rnE '#\s*include\s*"' "$src/platform" --include='*.h' |
  grep -vE '#\s*include\s*"(platform/|common/result\.h|imaging/image\.h|imaging/byte_source\.h)')
complain "seam headers including core headers beyond plain data" "$seam"

[ "$broken" -eq 0 ] && echo "every include keeps to its tier"
exit "$broken"
