#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Sets two pictures side by side on white under a title, each with its caption above it,
tops aligned; written as a palette PNG to keep the file small.

usage: scripts/side_by_side.py OUT.png TITLE LEFT.png LEFT_CAPTION RIGHT.png RIGHT_CAPTION
"""

import sys

from PIL import Image, ImageDraw, ImageFont

GAP = 16
LINE = 22


def font(size):
    try:
        return ImageFont.truetype("DejaVuSans.ttf", size)
    except OSError:
        return ImageFont.load_default()


def main():
    out, title, left, left_caption, right, right_caption = sys.argv[1:7]
    a = Image.open(left).convert("RGB")
    b = Image.open(right).convert("RGB")
    width = a.width + b.width + 3 * GAP
    height = 2 * LINE + GAP + max(a.height, b.height) + GAP
    sheet = Image.new("RGB", (width, height), "white")
    draw = ImageDraw.Draw(sheet)
    draw.text((GAP, 4), title, fill="black", font=font(15))
    top = 2 * LINE + 4
    for x, picture, caption in ((GAP, a, left_caption), (2 * GAP + a.width, b, right_caption)):
        draw.text((x, LINE + 6), caption, fill=(60, 60, 60), font=font(13))
        sheet.paste(picture, (x, top))
        frame = (x - 1, top - 1, x + picture.width, top + picture.height)
        draw.rectangle(frame, outline=(200, 200, 200))
    sheet.quantize(colors=64, method=Image.Quantize.MEDIANCUT).save(out, optimize=True)


main()
