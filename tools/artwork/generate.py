#!/usr/bin/python3
"""Writes the application icon and the four action-button pictures into resources/.

Usage: generate.py [--preview DIR]
Rerunning gives identical bytes.
"""

import argparse
import pathlib
import sys

from PIL import Image

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))

import button_art  # noqa: E402
import icon_art  # noqa: E402
from bmp_file import encode_bmp  # noqa: E402
from ico_file import encode_ico, entry_for  # noqa: E402

RESOURCES = pathlib.Path(__file__).resolve().parents[2] / "resources"
ICON_SIZES = (48, 32, 16)
ICON_DEPTHS = (4, 8, 32)
PNG_ICON_SIZE = 256


def icon_bytes():
    entries = []
    for size in ICON_SIZES:
        image = icon_art.render(size)
        entries += [entry_for(image, depth) for depth in ICON_DEPTHS]
    entries.append(entry_for(icon_art.render(PNG_ICON_SIZE), 32, as_png=True))
    return encode_ico(entries)


def save_preview(image, path, zoom):
    backdrop = Image.new("RGBA", image.size, (255, 255, 255, 255))
    backdrop.alpha_composite(image)
    size = (image.width * zoom, image.height * zoom)
    backdrop.convert("RGB").resize(size, Image.NEAREST).save(path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--preview", type=pathlib.Path, help="also write enlarged PNG previews here")
    args = parser.parse_args()

    RESOURCES.mkdir(exist_ok=True)
    for picture in button_art.PICTURES:
        image = button_art.render(picture)
        (RESOURCES / picture.file_name).write_bytes(encode_bmp(image))
        if args.preview:
            args.preview.mkdir(parents=True, exist_ok=True)
            save_preview(image, args.preview / (picture.file_name[:-4] + ".png"), 6)
    (RESOURCES / "mainicon.ico").write_bytes(icon_bytes())
    if args.preview:
        for size in ICON_SIZES + (PNG_ICON_SIZE,):
            zoom = max(1, 256 // size)
            save_preview(icon_art.render(size), args.preview / f"icon_{size}.png", zoom)


if __name__ == "__main__":
    main()
