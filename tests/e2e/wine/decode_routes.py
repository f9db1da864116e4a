#!/usr/bin/env python3
"""The Windows build's decoding routes against the Linux build's.

One picture of each of the saver's sixteen patterns is decoded twice: under
Wine by pictavo_decode_probe (the Win32 host's decoders and the core's own, in
the codec the slide uses) and on Linux by `pictavo-render decode`. The two
must agree in size, colour count and pixels: exactly, except for JPEG, whose
decoders may round otherwise within the bounds stated below (every other
format is either our own code on both builds or lossless).
EPS is compared preview against preview: the Windows build has no PostScript
interpreter, so the Linux decode runs with --no-ghostscript.

Pictures come from the shared samples folder (read in place, through a link
named with the pattern's extension) or, where it has none (always for GEM IMG,
Utah RLE, fax and DXF), are written here with Debian's tools. A format whose
input cannot be had is skipped and named (WPG and WMF without the samples:
no Debian tool writes them). Everything lives in one temporary folder, Wine prefix
included, which goes away at the end with the prefix's Wine processes.

Exits 0 when every compared format agrees, 1 otherwise, 77 when Wine cannot
run here or pictavo-render has not been built.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
from dataclasses import dataclass
from pathlib import Path
from typing import Callable, Optional

SKIPPED = 77
WINE_SECONDS = 300  # the prefix is made on the first start: slow on a busy machine
TOOL_SECONDS = 60


class Unavailable(Exception):
    """The input for a format cannot be had on this machine."""


# JPEG: libjpeg-turbo on Linux, the Windows Imaging Component on Windows.
# Luma is stored at full resolution, so there decoders differ only by IDCT
# and colour-conversion rounding: an accurate IDCT (libjpeg's islow or
# float) keeps luma within a level or two, and even libjpeg's fast integer
# IDCT, the least accurate in common use, averages 0.84 levels off with
# under half a per cent of pixels more than 4 levels off (hopper.jpg).
# Chroma is stored at half resolution and each library upsamples it its own
# way (interpolating within or across blocks, or replicating), which moves a
# pixel by a fraction of the local chroma step: a level or two on average
# over a photo, tens of levels at a saturated colour edge, so the largest
# chroma difference is reported but not bounded. A wrong decode moves far
# more: swapped red and blue, 10 levels of luma and 36 of chroma on
# average; one pixel of shift, 14 of luma; a 0.9 gamma, 7 of luma.
JPEG_LUMA_MEAN = 1.0  # levels of 255, mean over the pixels
JPEG_LUMA_NEAR = 4  # levels: rounding keeps luma within this...
JPEG_LUMA_FAR_SHARE = 0.01  # ...for all but this share of the pixels
JPEG_CHROMA_MEAN = 3.0  # levels of 255, Cb and Cr each


@dataclass
class Format:
    pattern: str
    sample: Optional[str]  # in the samples folder
    # Writes the picture when there is no sample: (output file, work folder).
    write: Optional[Callable[[Path, Path], None]] = None
    lossy: bool = False  # decoded by a system library that may round otherwise (JPEG)
    render_options: tuple = ()


def run(args, **kwargs):
    return subprocess.run(args, check=True, timeout=TOOL_SECONDS, **kwargs)


def need(*tools):
    missing = [t for t in tools if shutil.which(t) is None]
    if missing:
        raise Unavailable("missing " + ", ".join(missing) + " (scripts/install-deps.sh installs it)")


# ---- the pictures no sample provides, written with Debian's tools ----

def colour_picture(work: Path) -> Path:
    """A small colour picture with flat areas, edges and a gradient."""
    path = work / "colour.ppm"
    if not path.exists():
        need("gm")
        run(["gm", "convert", "-depth", "8", "-size", "160x120", "gradient:#1040c0-#f0c020",
             "-fill", "#d02020", "-draw", "circle 50,50 50,20",
             "-fill", "#20a040", "-draw", "rectangle 90,30 150,100",
             "-fill", "white", "-draw", "line 0,119 159,0", str(path)])
    return path


def bilevel_picture(work: Path) -> Path:
    path = work / "bilevel.pbm"
    if not path.exists():
        need("gm")
        run(["gm", "convert", str(colour_picture(work)), "-monochrome", str(path)])
    return path


def written_by_gm(coder: str):
    def write(out: Path, work: Path):
        need("gm")
        run(["gm", "convert", str(colour_picture(work)), f"{coder}:{out}"])
    return write


def write_gem_img(out: Path, work: Path):
    need("pbmtogem")
    with open(out, "wb") as img:
        run(["pbmtogem", str(bilevel_picture(work))], stdout=img)


def write_utah_rle(out: Path, work: Path):
    need("pnmtorle")
    run(["pnmtorle", "-o", str(out), str(colour_picture(work))])


def write_fax(out: Path, work: Path):
    """A CCITT Group 3 TIFF with the bits of each byte reversed (fill order 2)."""
    need("gm", "tiffcp")
    group4 = work / "bilevel-g4.tif"
    run(["gm", "convert", str(bilevel_picture(work)), "-compress", "Group4", str(group4)])
    run(["tiffcp", "-c", "g3", "-f", "lsb2msb", str(group4), str(out)])


DXF_SCRIPT = """
import sys, ezdxf
doc = ezdxf.new("R2000")
msp = doc.modelspace()
msp.add_line((0, 0), (100, 0), dxfattribs={"color": 1})
msp.add_line((100, 0), (100, 60), dxfattribs={"color": 3})
msp.add_circle((40, 30), 20, dxfattribs={"color": 5})
msp.add_arc((70, 30), 15, 30, 210, dxfattribs={"color": 2})
msp.add_lwpolyline([(10, 50), (30, 58), (50, 50), (70, 58)], dxfattribs={"color": 4})
msp.add_text("Pictavo", dxfattribs={"height": 6, "color": 7}).set_placement((8, 8))
doc.saveas(sys.argv[1])
"""


def write_dxf(out: Path, work: Path):
    # ezdxf is Debian's python3-ezdxf: the system interpreter's, whichever runs this.
    for python in dict.fromkeys([sys.executable, "/usr/bin/python3"]):
        if not Path(python).exists():
            continue
        if subprocess.run([python, "-c", "import ezdxf"], capture_output=True).returncode == 0:
            run([python, "-c", DXF_SCRIPT, str(out)])
            return
    raise Unavailable("no Python with ezdxf (python3-ezdxf)")


FORMATS = [
    Format("bmp", "bmp/hopper.bmp", written_by_gm("bmp")),
    Format("dib", "dib/clipboard.dib", written_by_gm("dib")),
    Format("dcx", "dcx/hopper.dcx", written_by_gm("dcx")),
    Format("dxf", None, write_dxf),
    # A TIFF preview: decoded by WIC on Windows and libtiff on Linux. EPT is
    # EPS with a DOS binary header and a TIFF preview.
    Format("eps", "eps/1.eps", written_by_gm("ept"), render_options=("--no-ghostscript",)),
    Format("fmf", None, write_fax),
    Format("img", None, write_gem_img),
    Format("jpg", "hopper.jpg", written_by_gm("jpg"), lossy=True),
    Format("pcx", "pcx/odd_stride.pcx", written_by_gm("pcx")),
    Format("pcd", "pcd/hopper.pcd", written_by_gm("pcd")),
    Format("png", "hopper.png", written_by_gm("png")),
    Format("rle", None, write_utah_rle),
    Format("tga", "tga/200x32_p_tl_rle.tga", written_by_gm("tga")),
    Format("tif", "tif/copyleft.tiff", written_by_gm("tif")),
    # No Debian tool writes WPG or WMF: only samples serve.
    Format("wpg", "wpg/exiftool-WPG.wpg"),
    Format("wmf", "wmf/fulltest.wmf"),
]


# ---- pictures and their differences ----

@dataclass
class Picture:
    width: int
    height: int
    rgb: bytes


def read_ppm(path: Path) -> Picture:
    data = path.read_bytes()
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at)
            continue
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    if fields[0] != b"P6" or fields[3] != b"255":
        raise ValueError(f"{path}: not an 8-bit binary PPM")
    width, height = int(fields[1]), int(fields[2])
    pixels = data[at + 1:at + 1 + width * height * 3]
    if len(pixels) != width * height * 3:
        raise ValueError(f"{path}: cut short")
    return Picture(width, height, pixels)


def largest_and_mean(a, b):
    differences = [abs(x - y) for x, y in zip(a, b)]
    return max(differences, default=0), sum(differences) / max(len(differences), 1)


def ycbcr_planes(rgb: bytes):
    """Luma and the two chroma planes (JPEG's BT.601 full-range transform)."""
    r, g, b = rgb[0::3], rgb[1::3], rgb[2::3]
    luma = [0.299 * x + 0.587 * y + 0.114 * z for x, y, z in zip(r, g, b)]
    blue = [-0.168736 * x - 0.331264 * y + 0.5 * z for x, y, z in zip(r, g, b)]
    red = [0.5 * x - 0.418688 * y - 0.081312 * z for x, y, z in zip(r, g, b)]
    return luma, blue, red


def judge_exact(a: bytes, b: bytes):
    largest, mean = (0, 0.0) if a == b else largest_and_mean(a, b)
    return largest == 0, f"max {largest}, mean {mean:.3f}"


def judge_lossy(a: bytes, b: bytes):
    largest, mean = largest_and_mean(a, b)
    figures = f"max {largest}, mean {mean:.3f}"
    (luma_a, *chroma_a), (luma_b, *chroma_b) = ycbcr_planes(a), ycbcr_planes(b)
    luma = [abs(x - y) for x, y in zip(luma_a, luma_b)]
    luma_mean = sum(luma) / len(luma)
    luma_far = sum(d > JPEG_LUMA_NEAR for d in luma) / len(luma)
    chroma = [largest_and_mean(x, y) for x, y in zip(chroma_a, chroma_b)]
    figures += (f"; luma max {max(luma):.1f}, mean {luma_mean:.3f}, "
                f"{100 * luma_far:.2f}% over {JPEG_LUMA_NEAR}; "
                f"chroma max {chroma[0][0]:.1f}/{chroma[1][0]:.1f}, "
                f"mean {chroma[0][1]:.3f}/{chroma[1][1]:.3f}")
    same = (luma_mean <= JPEG_LUMA_MEAN and luma_far <= JPEG_LUMA_FAR_SHARE
            and all(mean <= JPEG_CHROMA_MEAN for _, mean in chroma))
    return same, figures


# ---- the two builds ----

def windows_path(path: Path) -> str:
    return "Z:" + str(path).replace("/", "\\")


def wine_environment(work: Path) -> dict:
    """The prefix, and the server's socket folder, which Wine makes under TMPDIR
    and leaves behind: both inside the test's own folder."""
    (work / "tmp").mkdir(exist_ok=True)
    return {**os.environ, "WINEPREFIX": str(work / "prefix"), "TMPDIR": str(work / "tmp")}


def decode_on_windows(args, inputs, out_dir: Path, work: Path):
    """{index: (width, height, colours) or error text}, from one Wine start."""
    command = ["bash", args.wine_run, "--prefix", str(work / "prefix"), args.probe,
               windows_path(out_dir)]
    command += [windows_path(path) for path in inputs]
    done = subprocess.run(command, capture_output=True, text=True, timeout=WINE_SECONDS,
                          env=wine_environment(work))
    if done.returncode == SKIPPED:
        print(done.stderr.strip() or "SKIPPED: Wine cannot run the probe here")
        sys.exit(SKIPPED)
    results = {}
    for line in done.stdout.replace("\r", "").splitlines():
        index, _, rest = line.partition(": ")
        if not index.isdigit():
            continue
        results[int(index)] = rest[len("error: "):] if rest.startswith("error: ") else parse_size(rest)
    if not results:
        raise RuntimeError(f"the probe printed nothing (exit {done.returncode}): {done.stderr.strip()}")
    return results


def parse_size(text: str):
    """'640 x 480, 256 colours' -> (640, 480, 256)."""
    size, _, colours = text.partition(", ")
    width, _, height = size.partition(" x ")
    return int(width), int(height), int(colours.split()[0])


def decode_on_linux(args, path: Path, fmt: Format, out: Path):
    """((width, height, colours), Picture) or an error text."""
    png = out.with_suffix(".png")
    done = subprocess.run([args.render, "decode", str(path), "--out", str(png), *fmt.render_options],
                          capture_output=True, text=True, timeout=TOOL_SECONDS)
    if done.returncode != 0:
        return done.stderr.strip()
    _, _, rest = done.stdout.strip().rpartition(": ")
    with open(out, "wb") as ppm:
        run(["pngtopnm", str(png)], stdout=ppm)
    return parse_size(rest), read_ppm(out)


def compare(fmt: Format, windows, linux, windows_picture: Path) -> tuple[bool, str]:
    if isinstance(windows, str) or isinstance(linux, str):
        said_windows = windows if isinstance(windows, str) else "decoded"
        said_linux = linux if isinstance(linux, str) else "decoded"
        return False, f"Windows: {said_windows}; Linux: {said_linux}"
    linux_size, linux_picture = linux
    if windows[:2] != linux_size[:2]:
        return False, f"size {windows[0]} x {windows[1]} on Windows, {linux_size[0]} x {linux_size[1]} on Linux"
    if windows[2] != linux_size[2]:
        return False, f"{windows[2]} colours on Windows, {linux_size[2]} on Linux"
    picture = read_ppm(windows_picture)
    if (picture.width, picture.height) != (linux_picture.width, linux_picture.height):
        return False, "decoded pixels of another size than the picture's"
    judge = judge_lossy if fmt.lossy else judge_exact
    same, figures = judge(picture.rgb, linux_picture.rgb)
    return same, f"{windows[0]} x {windows[1]}, {windows[2]} colours, {figures}"


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--probe", required=True, help="pictavo_decode_probe.exe")
    parser.add_argument("--render", required=True, help="the Linux build's pictavo-render")
    parser.add_argument("--samples", required=True, help="the shared samples folder")
    parser.add_argument("--wine-run", required=True, help="scripts/wine-run.sh")
    args = parser.parse_args()

    if not os.access(args.render, os.X_OK):
        print(f"SKIPPED: no pictavo-render at {args.render} (build the linux preset first)")
        return SKIPPED
    if shutil.which("pngtopnm") is None:
        print("missing pngtopnm (netpbm; scripts/install-deps.sh installs it)")
        return 1
    samples = Path(args.samples)

    work = Path(tempfile.mkdtemp(prefix="pictavo-decode-routes."))
    try:
        inputs, skipped = [], []
        for fmt in FORMATS:
            path = work / "in" / f"picture.{fmt.pattern}"
            path.parent.mkdir(exist_ok=True)
            try:
                source = samples / fmt.sample if fmt.sample else None
                if source and source.is_file():
                    path.symlink_to(source)  # the sample stays where it is
                    origin = fmt.sample
                elif fmt.write:
                    fmt.write(path, work)
                    origin = "written here"
                else:
                    raise Unavailable(f"no sample {source}, and no tool here writes the format")
            except (Unavailable, subprocess.CalledProcessError) as why:
                skipped.append((fmt.pattern, str(why)))
                continue
            inputs.append((fmt, path, origin))
        if not inputs:
            for pattern, why in skipped:
                print(f"skip  *.{pattern}: {why}")
            return SKIPPED

        windows_out = work / "windows"
        linux_out = work / "linux"
        windows_out.mkdir()
        linux_out.mkdir()
        windows = decode_on_windows(args, [path for _, path, _ in inputs], windows_out, work)

        failed = 0
        for index, (fmt, path, origin) in enumerate(inputs, start=1):
            linux = decode_on_linux(args, path, fmt, linux_out / f"{index}.ppm")
            same, detail = compare(fmt, windows.get(index, "no answer from the probe"), linux,
                                   windows_out / f"{index}.ppm")
            print(f"{'ok  ' if same else 'FAIL'}  *.{fmt.pattern} ({origin}): {detail}")
            failed += not same
        for pattern, why in skipped:
            print(f"skip  *.{pattern}: {why}")
        print(f"{len(inputs) - failed} formats agree, {failed} differ, {len(skipped)} skipped")
        return 1 if failed else 0
    finally:
        if (work / "prefix").exists():
            # Ends this prefix's server and every program it still runs.
            for action in ("-k", "-w"):
                subprocess.run(["wineserver", action], env=wine_environment(work),
                               capture_output=True, timeout=TOOL_SECONDS)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
