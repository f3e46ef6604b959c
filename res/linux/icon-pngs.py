#!/usr/bin/python3
"""Writes the game icon's sizes of 32 pixels and up as PNG files
(kolvex-NN.png), for the Linux package's hicolor icon theme. Called by the
package build with the icon file and an output folder."""

import os
import sys

from PIL import Image

icon_path, out_dir = sys.argv[1], sys.argv[2]
os.makedirs(out_dir, exist_ok=True)
icon = Image.open(icon_path)
for width, height in sorted(icon.info["sizes"]):
    if width < 32:
        continue
    icon.size = (width, height)
    icon.copy().convert("RGBA").save(os.path.join(out_dir, f"kolvex-{width}.png"))
