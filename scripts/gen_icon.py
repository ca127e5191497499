#!/usr/bin/env python3
"""Writes the program icon MAINICON: one .ico holding seven 32-bit images with alpha,
256, 128, 64, 48, 32, 24 and 16 pixels square.

The picture echoes the margin chart: a dark navy rounded square with a faint blue grid
and a rising line, yellow for its first part and green for the rest, ending in a dot.
Every image is drawn at its own size from the same shapes (signed distances give one
anti-aliased coverage value per pixel), so small sizes stay crisp; the grid and the dot
are left out where they would only blur. The 256-pixel image is stored as PNG, the
others as bottom-up BGRA bitmaps with their AND masks. Standard library only; the
pixels are the same on every run.

Usage: gen_icon.py [OUTPUT] [--preview PNG]   (default OUTPUT: src/res/tallowind.ico)
"""

import math
import pathlib
import struct
import sys
import zlib

SIZES = (256, 128, 64, 48, 32, 24, 16)

BACKGROUND_TOP = (34, 46, 82)
BACKGROUND_BOTTOM = (12, 18, 38)
RIM = (92, 116, 178)
GRID = (52, 92, 214)
YELLOW = (255, 214, 0)
GREEN = (48, 224, 96)

# The line, in units of the icon's side, y counted from the top.
LOGGED_PART = ((0.17, 0.77), (0.37, 0.56), (0.52, 0.65))
SIMULATED_PART = ((0.52, 0.65), (0.81, 0.27))


def Clamp01(value):
  return 0.0 if value < 0.0 else 1.0 if value > 1.0 else value


def RoundedSquareDistance(x, y, size):
  """Signed distance in pixels from (x, y) to the rounded square's edge, negative inside."""
  inset = size / 32
  radius = size * 0.19
  half = size / 2 - inset
  qx = abs(x - size / 2) - (half - radius)
  qy = abs(y - size / 2) - (half - radius)
  outside = math.sqrt(max(qx, 0.0) ** 2 + max(qy, 0.0) ** 2)
  return outside + min(max(qx, qy), 0.0) - radius


def SegmentDistance(x, y, ax, ay, bx, by):
  dx, dy = bx - ax, by - ay
  t = Clamp01(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy))
  return math.sqrt((x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2)


def PolylineCoverage(x, y, points, width):
  distance = min(SegmentDistance(x, y, *a, *b) for a, b in zip(points, points[1:]))
  return Clamp01(width / 2 + 0.5 - distance)


def GridCentres(size):
  """Pixel-centred positions of the three grid lines, so that they stay sharp."""
  return [math.floor(size * f) + 0.5 for f in (0.25, 0.5, 0.75)]


def Blend(under, over, alpha):
  return tuple(u + (o - u) * alpha for u, o in zip(under, over))


def DrawIcon(size):
  """Returns size x size pixels, top row first, as (R, G, B, A) tuples of 0..255."""
  lineWidth = max(1.6, size * 0.066)
  rimWidth = max(1.0, size / 64)
  dotRadius = lineWidth * 1.05
  scale = lambda points: [(px * size, py * size) for px, py in points]
  logged = scale(LOGGED_PART)
  simulated = scale(SIMULATED_PART)
  dotX, dotY = simulated[-1]
  gridCentres = GridCentres(size) if size >= 32 else []
  gridAlpha = 0.45
  pixels = []
  for row in range(size):
    for column in range(size):
      x, y = column + 0.5, row + 0.5
      edge = RoundedSquareDistance(x, y, size)
      shape = Clamp01(0.5 - edge)
      if shape == 0.0:
        pixels.append((0, 0, 0, 0))
        continue
      colour = Blend(BACKGROUND_TOP, BACKGROUND_BOTTOM, y / size)
      for centre in gridCentres:
        colour = Blend(colour, GRID, gridAlpha * Clamp01(1.0 - abs(x - centre)))
        colour = Blend(colour, GRID, gridAlpha * Clamp01(1.0 - abs(y - centre)))
      colour = Blend(colour, RIM, 0.7 * Clamp01(rimWidth + 0.5 + edge))
      colour = Blend(colour, YELLOW, PolylineCoverage(x, y, logged, lineWidth))
      colour = Blend(colour, GREEN, PolylineCoverage(x, y, simulated, lineWidth))
      if size >= 32:
        dot = math.sqrt((x - dotX) ** 2 + (y - dotY) ** 2)
        colour = Blend(colour, GREEN, Clamp01(dotRadius + 0.5 - dot))
      pixels.append(tuple(int(c + 0.5) for c in colour) + (int(shape * 255 + 0.5),))
  return pixels


def PngChunk(kind, data):
  return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))


def EncodePng(width, height, pixels):
  raw = bytearray()
  for row in range(height):
    raw.append(0)  # filter: none
    for r, g, b, a in pixels[row * width:(row + 1) * width]:
      raw += bytes((r, g, b, a))
  header = struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
  return (b'\x89PNG\r\n\x1a\n' + PngChunk(b'IHDR', header) + PngChunk(b'IDAT', zlib.compress(bytes(raw), 9))
          + PngChunk(b'IEND', b''))


def EncodeIconBitmap(size, pixels):
  """The icon-image DIB: header of double height, BGRA rows bottom-up, then the AND mask."""
  maskStride = (size + 31) // 32 * 4
  colour = bytearray()
  mask = bytearray()
  for row in range(size - 1, -1, -1):
    maskRow = bytearray(maskStride)
    for column in range(size):
      r, g, b, a = pixels[row * size + column]
      colour += bytes((b, g, r, a))
      if a == 0:
        maskRow[column // 8] |= 0x80 >> (column % 8)
    mask += maskRow
  header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
  return header + bytes(colour) + bytes(mask)


def BuildIcon(images):
  directory = struct.pack('<HHH', 0, 1, len(images))
  offset = 6 + 16 * len(images)
  data = b''
  for size, pixels in images:
    image = EncodePng(size, size, pixels) if size == 256 else EncodeIconBitmap(size, pixels)
    side = 0 if size == 256 else size  # 0 stands for 256
    directory += struct.pack('<BBBBHHII', side, side, 0, 0, 1, 32, len(image), offset + len(data))
    data += image
  return directory + data


def WritePreview(path, images):
  """A PNG with every image at its own size over light and dark ground, and the small ones
  enlarged four times, for looking at the design."""
  grounds = ((236, 236, 236), (40, 40, 40))
  zoomed = [(s, p) for s, p in images if s <= 48]
  width = sum(s + 8 for s, _ in images) + 8
  width = max(width, sum(s * 4 + 8 for s, _ in zoomed) + 8)
  height = 2 * (256 + 8) + 48 * 4 + 16
  canvas = [[(255, 255, 255, 255)] * width for _ in range(height)]

  def Paste(left, top, size, pixels, ground, zoom=1):
    for row in range(size * zoom):
      for column in range(size * zoom):
        r, g, b, a = pixels[(row // zoom) * size + column // zoom]
        canvas[top + row][left + column] = tuple(int(gc + (c - gc) * a / 255 + 0.5)
                                                 for gc, c in zip(ground, (r, g, b))) + (255,)

  for band, ground in enumerate(grounds):
    top = band * (256 + 8)
    for row in range(top, top + 256 + 8):
      canvas[row] = [ground + (255,)] * width
    left = 8
    for size, pixels in images:
      Paste(left, top + 4, size, pixels, ground)
      left += size + 8
  left = 8
  for size, pixels in zoomed:
    Paste(left, 2 * (256 + 8) + 8, size, pixels, grounds[0], 4)
    left += size * 4 + 8
  flat = [pixel for line in canvas for pixel in line]
  pathlib.Path(path).write_bytes(EncodePng(width, height, flat))


def main():
  arguments = sys.argv[1:]
  preview = None
  if '--preview' in arguments:
    index = arguments.index('--preview')
    preview = arguments[index + 1]
    del arguments[index:index + 2]
  root = pathlib.Path(__file__).resolve().parent.parent
  output = pathlib.Path(arguments[0]) if arguments else root / 'src' / 'res' / 'tallowind.ico'
  images = [(size, DrawIcon(size)) for size in SIZES]
  output.write_bytes(BuildIcon(images))
  if preview:
    WritePreview(preview, images)


if __name__ == '__main__':
  main()
