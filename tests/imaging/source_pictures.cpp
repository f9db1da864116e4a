#include "imaging/source_pictures.h"

#include <algorithm>
#include <cmath>

namespace pictavo::imaging::testing {

Image wavePattern(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto r = static_cast<uint8_t>(x * 255 / std::max(1, width - 1));
            const auto g = static_cast<uint8_t>(y * 255 / std::max(1, height - 1));
            const auto b =
                static_cast<uint8_t>(128 + 100 * std::sin(x * 0.21) * std::cos(y * 0.13));
            image.at(x, y) = rgb(r, g, b);
        }
    }
    // A dark block near the top-left corner marks which way is up.
    for (int y = height / 8; y < height / 4; ++y) {
        for (int x = width / 8; x < width / 3; ++x) image.at(x, y) = rgb(20, 20, 20);
    }
    return image;
}

Image twelveColourTiles() {
    Image image(45, 19);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const int k = (x / 4 + y / 5) % 12;
            image.at(x, y) = rgb(uint8_t(k * 20), uint8_t(255 - k * 17), uint8_t(k * 60 % 256));
        }
    }
    return image;
}

Image greenWhiteBands() {
    Image image(90, 20, rgb(10, 200, 30));
    for (int x = 30; x < 60; ++x) {
        for (int y = 0; y < 20; ++y) image.at(x, y) = rgb(250, 250, 250);
    }
    return image;
}

std::vector<uint8_t> withExifOrientation(std::vector<uint8_t> jpeg, int orientation) {
    const std::vector<uint8_t> segment = {0xFF, 0xE1,
                                          0x00, 34,  // APP1, length 34
                                          'E',  'x',
                                          'i',  'f',
                                          0,    0,  //
                                          'M',  'M',
                                          0,    42,
                                          0,    0,
                                          0,    8,  // TIFF header, IFD at 8
                                          0,    1,  // one entry
                                          0x01, 0x12,
                                          0,    3,
                                          0,    0,
                                          0,    1,  // orientation, SHORT, 1 value
                                          0,    static_cast<uint8_t>(orientation),
                                          0,    0,  //
                                          0,    0,
                                          0,    0};  // no next IFD
    jpeg.insert(jpeg.begin() + 2, segment.begin(), segment.end());
    return jpeg;
}

const char* const kEpsSquare =
    "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 100 200 172 236\n"
    "1 0 0 setrgbcolor 100 200 36 36 rectfill 0 0 1 setrgbcolor 136 200 36 36 rectfill\n";

const char* const kEzdxfWriter = R"(
import sys, math, ezdxf
out = sys.argv[1]
doc = ezdxf.new('R2010')
msp = doc.modelspace()
doc.layers.add('PARTS', color=3)
doc.layers.add('HIDDEN', color=5).off()
msp.add_lwpolyline([(0, 0), (100, 0), (100, 50), (0, 50)], close=True, dxfattribs={'color': 1})
msp.add_line((10, 10), (90, 40), dxfattribs={'color': 2, 'lineweight': 0})
msp.add_circle((30, 30), 12, dxfattribs={'layer': 'PARTS'})
msp.add_arc((70, 20), 10, 0, 180, dxfattribs={'color': 5})
msp.add_lwpolyline([(60, 40, 0, 0, 1), (80, 40)], format='xyseb', dxfattribs={'color': 6})
msp.add_line((0, 25), (100, 25), dxfattribs={'layer': 'HIDDEN'})
blk = doc.blocks.new('MARK')
blk.add_line((-3, 0), (3, 0), dxfattribs={'color': 0})
blk.add_line((0, -3), (0, 3), dxfattribs={'color': 0})
msp.add_blockref('MARK', (50, 10), dxfattribs={'color': 4, 'rotation': 45})
doc.saveas(out + '.dxf')
doc.saveas(out + '-binary.dxf', fmt='bin')

margin = 2.0
s = 4.0
w = (100 + 2 * margin) * s
h = (50 + 2 * margin) * s
ps = ['%!PS-Adobe-3.0 EPSF-3.0', '%%%%BoundingBox: 0 0 %d %d' % (w, h),
      '0 0 0 setrgbcolor 0 0 %g %g rectfill' % (w, h),
      '%g %g scale %g %g translate 0.25 setlinewidth' % (s, s, margin, margin),
      '1 0 0 setrgbcolor newpath 0 0 moveto 100 0 lineto 100 50 lineto 0 50 lineto closepath stroke',
      '1 1 0 setrgbcolor newpath 10 10 moveto 90 40 lineto stroke',
      '0 1 0 setrgbcolor newpath 42 30 moveto 30 30 12 0 360 arc stroke',
      '0 0 1 setrgbcolor newpath 80 20 moveto 70 20 10 0 180 arc stroke',
      '1 0 1 setrgbcolor newpath 60 40 moveto 70 40 10 180 360 arc stroke',
      '0 1 1 setrgbcolor gsave 50 10 translate 45 rotate newpath -3 0 moveto 3 0 lineto 0 -3 moveto 0 3 lineto stroke grestore',
      'showpage']
open(out + '.eps', 'w').write('\n'.join(ps) + '\n')
)";

const char* const kPythonsForEzdxf[2] = {"python3", "/usr/bin/python3"};

std::string pythonWithEzdxf(bool (*run)(const std::string& command)) {
    for (const char* python : kPythonsForEzdxf) {
        if (run(std::string(python) + " -c 'import ezdxf' >/dev/null 2>&1")) return python;
    }
    return {};
}

}  // namespace pictavo::imaging::testing
