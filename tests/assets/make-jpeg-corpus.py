#!/usr/bin/python3
"""Makes the JPEG corpus that both decoders are held against: variants from
cjpeg, jpegtran and Pillow, a few hand-patched headers, and files that are no
JPEG at all. Writes OUT/*.jpg, OUT/expected.txt ("name refused" or "name
usable WIDTH HEIGHT") and, for each usable file, djpeg's decode as raw RGB,
top row first, in OUT/name.rgb. Run by the build."""

import io
import os
import struct
import subprocess
import sys

from PIL import Image


def picture(width, height):
    # Smooth colour ramps with one sharp edge: enough for chroma subsampling
    # and the IDCT to show differences, nothing that needs exact pixels.
    image = Image.new("RGB", (width, height))
    image.putdata([(x * 255 // max(1, width - 1), y * 255 // max(1, height - 1), 255 if x < width // 2 else 40)
                   for y in range(height) for x in range(width)])
    return image


def ppm(image):
    out = io.BytesIO()
    image.save(out, "PPM")
    return out.getvalue()


def cjpeg(image, *options):
    return subprocess.run(["cjpeg", *options], input=ppm(image), capture_output=True, check=True).stdout


def jpegtran(data, *options):
    return subprocess.run(["jpegtran", *options], input=data, capture_output=True, check=True).stdout


def pillow(image, fmt, **options):
    out = io.BytesIO()
    image.save(out, fmt, **options)
    return out.getvalue()


def with_segment(data, marker, body):
    """The file with one more segment right after its start-of-image marker."""
    return data[:2] + struct.pack(">BBH", 0xFF, marker, len(body) + 2) + body + data[2:]


def patched_frame(data, marker=None, precision=None):
    """The file with its frame header's marker or sample precision changed."""
    at = next(i for i in range(2, len(data) - 1) if data[i] == 0xFF and data[i + 1] in (0xC0, 0xC1, 0xC2))
    out = bytearray(data)
    if marker is not None:
        out[at + 1] = marker
    if precision is not None:
        out[at + 4] = precision
    return bytes(out)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    square = picture(64, 64)
    base = cjpeg(square)
    exif = b"Exif\0\0" + b"II*\0" + struct.pack("<IH", 8, 0) + b"\0\0\0\0"
    icc = b"ICC_PROFILE\0\x01\x01" + bytes(128)
    cut = base[: len(base) * 2 // 3]
    progressive = cjpeg(square, "-progressive")
    usable = {
        "baseline-420": base,
        "baseline-444": cjpeg(square, "-sample", "1x1"),
        "baseline-422": cjpeg(square, "-sample", "2x1"),
        "baseline-411": cjpeg(square, "-sample", "4x1"),
        "optimised-tables": cjpeg(square, "-optimize", "-quality", "97"),
        "low-quality": cjpeg(square, "-quality", "5"),
        "progressive": progressive,
        "grey": cjpeg(square, "-grayscale"),
        "grey-progressive": cjpeg(square, "-grayscale", "-progressive"),
        "rgb-not-ycc": cjpeg(square, "-rgb"),
        "restarts-every-row": cjpeg(square, "-restart", "1"),
        "restarts-every-block": jpegtran(base, "-restart", "1B"),
        "exif-and-icc": with_segment(with_segment(base, 0xE2, icc), 0xE1, exif),
        "pillow-progressive-444": pillow(square, "JPEG", progressive=True, subsampling=0, quality=90),
        "one-pixel": cjpeg(picture(1, 1)),
        "13x7": cjpeg(picture(13, 7)),
        "100x60": cjpeg(picture(100, 60), "-sample", "2x2"),
        "255x3-progressive": cjpeg(picture(255, 3), "-progressive"),
        "256x256": cjpeg(picture(256, 256)),
        # Damage inside scan data that no marker betrays: both decoders
        # conceal it the same way (and djpeg warns).
        "cut-then-end-marker": cut + b"\xff\xd9",
    }
    refused = {
        "arithmetic": jpegtran(base, "-arithmetic"),
        "arithmetic-progressive": jpegtran(base, "-arithmetic", "-progressive"),
        "cmyk": pillow(square.convert("CMYK"), "JPEG"),
        "claims-12-bit": patched_frame(base, precision=12),
        "claims-lossless": patched_frame(base, marker=0xC3),
        "claims-hierarchical": patched_frame(base, marker=0xC5),
        "257x16": cjpeg(picture(257, 16)),
        "16x300": cjpeg(picture(16, 300)),
        "cut-in-headers": base[:100],
        "cut-in-scan": cut,
        "cut-in-progressive-scans": progressive[: len(progressive) * 2 // 3],
        "png-renamed": pillow(square, "PNG"),
        "bmp-renamed": pillow(square, "BMP"),
        "gif-renamed": pillow(square, "GIF"),
        "start-marker-only": b"\xff\xd8",
    }
    with open(os.path.join(out, "expected.txt"), "w") as listing:
        for verdict, files in (("usable", usable), ("refused", refused)):
            for name, data in files.items():
                path = os.path.join(out, name + ".jpg")
                with open(path, "wb") as f:
                    f.write(data)
                size = ""
                if verdict == "usable":
                    decoded = subprocess.run(["djpeg", "-pnm", path], capture_output=True)
                    if decoded.returncode not in (0, 2):  # 2: decoded with warnings
                        raise SystemExit(f"djpeg failed on {path}: {decoded.stderr.decode()}")
                    reference = Image.open(io.BytesIO(decoded.stdout)).convert("RGB")
                    with open(os.path.join(out, name + ".rgb"), "wb") as f:
                        f.write(reference.tobytes())
                    size = f" {reference.width} {reference.height}"
                listing.write(f"{name} {verdict}{size}\n")

if __name__ == "__main__":
    main()
