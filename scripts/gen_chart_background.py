#!/usr/bin/env python3
"""Writes the chart background picture CHART_BACKGROUND: a 360 x 160, 24-bit BMP.

Black field; a blue (0, 0, 255) one-pixel grid of vertical lines at x = 10, 20, ..., 350
(y = 10..150) and horizontal lines at y = 10..70 and 90..150 (x = 10..350), every 10 pixels;
a magenta (255, 0, 255) baseline at y = 80 from x = 1 to x = 359, drawn over the grid.
Coordinates count from the top-left pixel. Standard library only; the output is the same
byte for byte on every run.

Usage: gen_chart_background.py [OUTPUT]   (default: src/res/chart_background.bmp)
"""

import pathlib
import struct
import sys

WIDTH = 360
HEIGHT = 160
BLACK = (0, 0, 0)
GRID = (0, 0, 255)
BASELINE = (255, 0, 255)
BASELINE_Y = 80


def PixelColour(x, y):
  """Colour (R, G, B) of the pixel at (x, y), y counted from the top."""
  if y == BASELINE_Y and 1 <= x <= 359:
    return BASELINE
  onVertical = x % 10 == 0 and 10 <= x <= 350 and 10 <= y <= 150
  onHorizontal = y % 10 == 0 and 10 <= y <= 150 and y != BASELINE_Y and 10 <= x <= 350
  return GRID if onVertical or onHorizontal else BLACK


def BuildBitmap():
  rowBytes = WIDTH * 3
  stride = (rowBytes + 3) // 4 * 4
  pixels = bytearray()
  for y in range(HEIGHT - 1, -1, -1):  # bottom-up rows
    for x in range(WIDTH):
      red, green, blue = PixelColour(x, y)
      pixels += bytes((blue, green, red))
    pixels += bytes(stride - rowBytes)
  pixelOffset = 14 + 40
  fileHeader = struct.pack('<2sIHHI', b'BM', pixelOffset + len(pixels), 0, 0, pixelOffset)
  # BITMAPINFOHEADER: 72 dpi (2835 pixels per metre), uncompressed, no palette.
  infoHeader = struct.pack('<IiiHHIIiiII', 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
  return fileHeader + infoHeader + bytes(pixels)


def main():
  root = pathlib.Path(__file__).resolve().parent.parent
  output = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else root / 'src' / 'res' / 'chart_background.bmp'
  output.write_bytes(BuildBitmap())


if __name__ == '__main__':
  main()
