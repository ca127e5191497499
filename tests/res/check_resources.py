#!/usr/bin/env python3
"""Checks the program's resources.

  check_resources.py BMP ICO [--rc RC --windres WINDRES]

BMP is the chart background picture: its headers (360 x 160, 24 bits, uncompressed) and
every pixel (black field, blue grid, magenta baseline). ICO is the program icon: seven
32-bit images of 256, 128, 64, 48, 32, 24 and 16 pixels whose alpha channel is really used.
With --rc the resource script is compiled by WINDRES into a temporary .res, which is read
back: the menu and both dialogs with their exact texts, ids, styles and fonts, the picture
and the icon as stored, the manifest and the version information.
Prints each failure and a summary line; the exit status is 1 when anything failed.
"""

import argparse
import pathlib
import struct
import subprocess
import sys
import tempfile
import zlib

passed = 0
failed = 0


def Check(name, condition, detail=''):
  global passed, failed
  if condition:
    passed += 1
  else:
    failed += 1
    print(f'FAILED: {name}' + (f' ({detail})' if detail else ''))
  return condition


# ---------------------------------------------------------------- chart background

WIDTH, HEIGHT = 360, 160
BLACK, BLUE, MAGENTA = (0, 0, 0), (0, 0, 255), (255, 0, 255)


def ExpectedPixel(x, y):
  """The rule for pixel (x, y), y from the top, as (rule name, colour)."""
  if y == 80 and 1 <= x <= 359:
    return 'baseline', MAGENTA
  if x % 10 == 0 and 10 <= x <= 350 and 10 <= y <= 150:
    return 'vertical grid', BLUE
  if y % 10 == 0 and 10 <= y <= 150 and 10 <= x <= 350:
    return 'horizontal grid', BLUE
  return 'background', BLACK


def CheckChartBackground(path):
  data = pathlib.Path(path).read_bytes()
  if not Check('bitmap: file holds both headers', len(data) >= 54, f'{len(data)} bytes'):
    return
  signature, fileSize, _, _, pixelOffset = struct.unpack_from('<2sIHHI', data, 0)
  headerSize, width, height, planes, bitCount, compression = struct.unpack_from('<IiiHHI', data, 14)
  Check('bitmap: signature BM', signature == b'BM')
  Check('bitmap: size field matches the file', fileSize == len(data), f'{fileSize} vs {len(data)}')
  Check('bitmap: BITMAPINFOHEADER', headerSize == 40, str(headerSize))
  Check('bitmap: 360 x 160', width == WIDTH and abs(height) == HEIGHT, f'{width} x {height}')
  Check('bitmap: one plane, 24 bits per pixel', planes == 1 and bitCount == 24, f'{planes}, {bitCount}')
  Check('bitmap: uncompressed', compression == 0, str(compression))
  stride = (WIDTH * 3 + 3) // 4 * 4
  if not Check('bitmap: pixel array fits the file', pixelOffset >= 54 and
               pixelOffset + stride * HEIGHT <= len(data), f'offset {pixelOffset}'):
    return
  wrong = {}
  counted = {}
  for y in range(HEIGHT):
    row = HEIGHT - 1 - y if height > 0 else y  # positive height: bottom-up rows
    for x in range(WIDTH):
      at = pixelOffset + row * stride + x * 3
      blue, green, red = data[at:at + 3]
      rule, colour = ExpectedPixel(x, y)
      counted[rule] = counted.get(rule, 0) + 1
      if (red, green, blue) != colour:
        wrong.setdefault(rule, []).append((x, y, (red, green, blue)))
  for rule in ('background', 'vertical grid', 'horizontal grid', 'baseline'):
    misses = wrong.get(rule, [])
    Check(f'bitmap: every {rule} pixel ({counted.get(rule, 0)})', not misses,
          f'{len(misses)} wrong, first at (x, y, RGB) {misses[:3]}')
  # 35 vertical lines of 141 pixels and 14 horizontal ones of 341, less their crossings and
  # the baseline row: guards the rule table above against a slip.
  Check('bitmap: pixel counts per rule', counted.get('baseline') == 359 and
        counted.get('vertical grid') == 35 * 140 and counted.get('horizontal grid') == 14 * (341 - 35),
        str(counted))


# ---------------------------------------------------------------- icon

ICON_SIZES = (256, 128, 64, 48, 32, 24, 16)


def DecodePngAlpha(data):
  """(width, height, bit depth, colour type, alpha rows) of an 8-bit RGBA PNG."""
  at = 8
  header = None
  compressed = b''
  while at + 8 <= len(data):
    length, kind = struct.unpack_from('>I4s', data, at)
    body = data[at + 8:at + 8 + length]
    if kind == b'IHDR':
      header = struct.unpack('>IIBBBBB', body)
    elif kind == b'IDAT':
      compressed += body
    at += 12 + length
  width, height, depth, colourType = header[:4]
  if (depth, colourType) != (8, 6):
    return width, height, depth, colourType, None
  raw = zlib.decompress(compressed)
  stride = width * 4
  previous = bytearray(stride)
  rows = []
  for y in range(height):
    filterType = raw[y * (stride + 1)]
    line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
    for i in range(stride):
      left = line[i - 4] if i >= 4 else 0
      up = previous[i]
      upLeft = previous[i - 4] if i >= 4 else 0
      if filterType == 1:
        line[i] = (line[i] + left) & 0xFF
      elif filterType == 2:
        line[i] = (line[i] + up) & 0xFF
      elif filterType == 3:
        line[i] = (line[i] + (left + up) // 2) & 0xFF
      elif filterType == 4:
        estimate = left + up - upLeft
        pa, pb, pc = abs(estimate - left), abs(estimate - up), abs(estimate - upLeft)
        predictor = left if pa <= pb and pa <= pc else up if pb <= pc else upLeft
        line[i] = (line[i] + predictor) & 0xFF
    rows.append(bytes(line[3::4]))
    previous = line
  return width, height, depth, colourType, rows


def CheckIconImage(size, image):
  """The image's own header agrees with its directory entry, and its alpha is used:
  corners transparent, centre opaque."""
  if image[:8] == b'\x89PNG\r\n\x1a\n':
    width, height, depth, colourType, alphaRows = DecodePngAlpha(image)
    Check(f'icon {size}: PNG of {size} x {size}', (width, height) == (size, size), f'{width} x {height}')
    Check(f'icon {size}: PNG is 8-bit RGBA', (depth, colourType) == (8, 6), f'{depth}, {colourType}')
  else:
    headerSize, width, height, planes, bitCount, compression = struct.unpack_from('<IiiHHI', image, 0)
    Check(f'icon {size}: BITMAPINFOHEADER', headerSize == 40, str(headerSize))
    Check(f'icon {size}: bitmap of {size} x {size} (double height)', (width, height) == (size, 2 * size),
          f'{width} x {height}')
    Check(f'icon {size}: bitmap is 32 bits, uncompressed', (planes, bitCount, compression) == (1, 32, 0),
          f'{planes}, {bitCount}, {compression}')
    maskStride = (size + 31) // 32 * 4
    Check(f'icon {size}: colour and AND mask fit', len(image) >= 40 + size * size * 4 + maskStride * size,
          f'{len(image)} bytes')
    alphaRows = [image[40 + (size - 1 - y) * size * 4 + 3:40 + (size - y) * size * 4:4] for y in range(size)]
  if alphaRows is None or len(alphaRows) != size:
    Check(f'icon {size}: alpha readable', False)
    return
  corners = [alphaRows[0][0], alphaRows[0][-1], alphaRows[-1][0], alphaRows[-1][-1]]
  Check(f'icon {size}: corners transparent', corners == [0, 0, 0, 0], str(corners))
  Check(f'icon {size}: centre opaque', alphaRows[size // 2][size // 2] == 255)


def ReadIconFile(path):
  """[(size, entry bit count, entry planes, image bytes)] of an .ico file, or None."""
  data = pathlib.Path(path).read_bytes()
  if not Check('icon: directory header fits', len(data) >= 6):
    return None
  reserved, kind, count = struct.unpack_from('<HHH', data, 0)
  Check('icon: reserved 0, type 1 (icon)', (reserved, kind) == (0, 1), f'{reserved}, {kind}')
  if not Check('icon: directory fits', len(data) >= 6 + 16 * count):
    return None
  images = []
  for index in range(count):
    width, height, colours, _, planes, bitCount, length, offset = struct.unpack_from('<BBBBHHII', data,
                                                                                     6 + 16 * index)
    size = width or 256
    Check(f'icon entry {index}: square, no palette', width == height and colours == 0)
    if Check(f'icon entry {index}: image inside the file', offset + length <= len(data)):
      images.append((size, bitCount, planes, data[offset:offset + length]))
  return images


def CheckIcon(path):
  images = ReadIconFile(path)
  if images is None:
    return None
  sizes = [size for size, _, _, _ in images]
  Check('icon: the seven sizes 256, 128, 64, 48, 32, 24, 16', sorted(sizes, reverse=True) == list(ICON_SIZES),
        str(sizes))
  for size, bitCount, planes, image in images:
    Check(f'icon {size}: entry says 32 bits, one plane', (bitCount, planes) == (32, 1),
          f'{bitCount}, {planes}')
    CheckIconImage(size, image)
  return images


# ---------------------------------------------------------------- compiled resources

RT_ICON, RT_BITMAP, RT_MENU, RT_DIALOG, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 2, 4, 5, 14, 16, 24
WS_POPUP, WS_CHILD, WS_VISIBLE, WS_CAPTION = 0x80000000, 0x40000000, 0x10000000, 0x00C00000
WS_BORDER, WS_SYSMENU, WS_GROUP, WS_TABSTOP = 0x00800000, 0x00080000, 0x00020000, 0x00010000
DS_MODALFRAME, DS_SETFONT, DS_FIXEDSYS = 0x80, 0x40, 0x08
SS_LEFT, SS_ICON, ES_AUTOHSCROLL, BS_PUSHBUTTON, BS_DEFPUSHBUTTON = 0, 3, 0x80, 0, 1
DIALOG_STYLE = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS
CLASS_ORDINALS = {0x80: 'BUTTON', 0x81: 'EDIT', 0x82: 'STATIC'}
TEXT_STATIC = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT
PUSH = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP

EXPECTED_MENU = [
    ('ツール(&T)', [('ARITHMETIC SIMULATION 設定(&A)', 1000), None,
                   ('アプリケーションの終了(&X)', 1100)]),
    ('ヘルプ(&H)', [('バージョンアップ確認(&Q)', 2000), ('バージョン情報(&A)', 2100)]),
]

SETTING_BOX = {
    'title': 'ARITHMETIC SIMULATION 設定', 'size': (150, 50),
    'controls': [
        ('STATIC', 0xFFFFFFFF, 'サンプリング数(1～1000000):', TEXT_STATIC, (5, 10, 256, 8)),
        ('EDIT', 1010, '', WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, (85, 10, 60, 14)),
        ('BUTTON', 1, 'SAVE', PUSH | BS_DEFPUSHBUTTON, (35, 30, 50, 14)),
        ('BUTTON', 2, 'CANCEL', PUSH | BS_PUSHBUTTON, (95, 30, 50, 14)),
    ],
}

SUPPORTED_OS = ('e2011457-1546-43c5-a5fe-008deee3d3f0', '35138b9a-5d96-4fbd-8e2d-a2440225f93a',
                '4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38', '1f676c76-80e1-4239-95bb-83d0f6d0da78',
                '8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a')


def ReadNameOrOrdinal(data, at):
  """A name-or-ordinal field: (int or str or None, offset after it)."""
  first = struct.unpack_from('<H', data, at)[0]
  if first == 0xFFFF:
    return struct.unpack_from('<H', data, at + 2)[0], at + 4
  if first == 0:
    return None, at + 2
  return ReadText(data, at)


def ReadText(data, at):
  end = at
  while struct.unpack_from('<H', data, end)[0] != 0:
    end += 2
  return data[at:end].decode('utf-16-le'), end + 2


def ReadResFile(path):
  """{(type, name): (language, data)} of a Win32 .res file."""
  data = pathlib.Path(path).read_bytes()
  resources = {}
  at = 0
  while at + 8 <= len(data):
    dataSize, headerSize = struct.unpack_from('<II', data, at)
    kind, after = ReadNameOrOrdinal(data, at + 8)
    name, after = ReadNameOrOrdinal(data, after)
    after = (after + 3) & ~3
    language = struct.unpack_from('<IHH', data, after)[2]
    body = data[at + headerSize:at + headerSize + dataSize]
    if dataSize or kind:
      resources[(kind, name)] = (language, body)
    at = (at + headerSize + dataSize + 3) & ~3
  return resources


def ParseMenu(data):
  """The items of a standard menu template: (text, [...]) for popups, (text, id), None for separators."""
  def Items(at):
    items = []
    while True:
      flags = struct.unpack_from('<H', data, at)[0]
      if flags & 0x10:  # MF_POPUP
        text, at = ReadText(data, at + 2)
        children, at = Items(at)
        items.append((text, children))
      else:
        itemId = struct.unpack_from('<H', data, at + 2)[0]
        text, at = ReadText(data, at + 4)
        items.append(None if (text, itemId) == ('', 0) else (text, itemId))
      if flags & 0x80:  # MF_END
        return items, at
  Check('menu: standard template header', data[:4] == b'\0\0\0\0')
  return Items(4)[0]


def ParseDialogEx(data):
  version, signature, _, _, style, count, x, y, cx, cy = struct.unpack_from('<HHIIIHhhhh', data, 0)
  if (version, signature) != (1, 0xFFFF):
    return None
  menu, at = ReadNameOrOrdinal(data, 26)
  windowClass, at = ReadNameOrOrdinal(data, at)
  title, at = ReadText(data, at)
  dialog = {'style': style, 'rect': (x, y, cx, cy), 'menu': menu, 'class': windowClass, 'title': title}
  if style & DS_SETFONT:
    dialog['font'] = struct.unpack_from('<HHBB', data, at)
    dialog['face'], at = ReadText(data, at + 6)
  controls = []
  for _ in range(count):
    at = (at + 3) & ~3
    _, _, controlStyle, cx_, cy_, cw, ch, controlId = struct.unpack_from('<IIIhhhhI', data, at)
    controlClass, at = ReadNameOrOrdinal(data, at + 24)
    text, at = ReadNameOrOrdinal(data, at)
    extra = struct.unpack_from('<H', data, at)[0]
    at += 2 + extra
    controls.append((CLASS_ORDINALS.get(controlClass, controlClass if isinstance(controlClass, int)
                                        else controlClass.upper()),
                     controlId, '' if text is None else text, controlStyle, (cx_, cy_, cw, ch)))
  dialog['controls'] = controls
  return dialog


def CheckDialog(resources, name, title, size, controls, language=None):
  entry = resources.get((RT_DIALOG, name))
  if not Check(f'{name}: present', entry is not None):
    return
  if language is not None:
    Check(f'{name}: language {language}', entry[0] == language, str(entry[0]))
  dialog = ParseDialogEx(entry[1])
  if not Check(f'{name}: extended dialog template', dialog is not None):
    return
  Check(f'{name}: style', dialog['style'] == DIALOG_STYLE, hex(dialog['style']))
  Check(f'{name}: title', dialog['title'] == title, dialog['title'])
  Check(f'{name}: size', dialog['rect'][2:] == size, str(dialog['rect']))
  Check(f'{name}: no menu, default class', dialog['menu'] is None and dialog['class'] is None)
  Check(f'{name}: 9-point MS UI Gothic',
        dialog.get('font', (0,))[0] == 9 and dialog.get('face') == 'MS UI Gothic', str(dialog.get('face')))
  Check(f'{name}: controls', dialog['controls'] == controls,
        '\n  got      ' + repr(dialog['controls']) + '\n  expected ' + repr(controls))


def CheckCompiledResources(rcPath, windres, bmpPath, iconImages):
  rcPath = pathlib.Path(rcPath).resolve()
  with tempfile.TemporaryDirectory() as scratch:
    resPath = pathlib.Path(scratch) / 'resources.res'
    run = subprocess.run([windres, str(rcPath), '-O', 'res', '-o', str(resPath)], capture_output=True,
                         text=True)
    if not Check('resource script compiles', run.returncode == 0, run.stderr.strip()):
      return
    resources = ReadResFile(resPath)

  menu = resources.get((RT_MENU, 'MAINWINDOW_MENU'))
  if Check('MAINWINDOW_MENU: present', menu is not None):
    items = ParseMenu(menu[1])
    Check('MAINWINDOW_MENU: popups, texts, ids and separator', items == EXPECTED_MENU, repr(items))

  CheckDialog(resources, 'MAINWINDOW_ARITHMETIC_SIMULATION_SETTINGBOX', SETTING_BOX['title'],
              SETTING_BOX['size'], SETTING_BOX['controls'], language=1033)

  # The About box's second line and the icon static's size are free; the rest is fixed.
  about = resources.get((RT_DIALOG, 'MAINWINDOW_ABOUTBOX'))
  aboutControls = ParseDialogEx(about[1])['controls'] if about is not None and ParseDialogEx(about[1]) else []
  secondLine = aboutControls[2][2] if len(aboutControls) > 2 else ''
  iconRect = (10, 12) + (aboutControls[0][4][2:] if aboutControls else (0, 0))
  Check('MAINWINDOW_ABOUTBOX: second line has some wording', secondLine.strip() != '')
  CheckDialog(resources, 'MAINWINDOW_ABOUTBOX', 'バージョン情報', (225, 65), [
      ('STATIC', 0, 'MAINICON', WS_CHILD | WS_VISIBLE | SS_ICON, iconRect),
      ('STATIC', 0xFFFFFFFF, 'Tallowind Version 1.0', TEXT_STATIC, (32, 14, 256, 8)),
      ('STATIC', 0xFFFFFFFF, secondLine, TEXT_STATIC, (32, 26, 256, 8)),
      ('BUTTON', 1, 'OK', PUSH | BS_DEFPUSHBUTTON, (160, 40, 50, 14)),
  ])

  bitmap = resources.get((RT_BITMAP, 'CHART_BACKGROUND'))
  Check('CHART_BACKGROUND: the picture without its file header',
        bitmap is not None and bitmap[1] == pathlib.Path(bmpPath).read_bytes()[14:])

  group = resources.get((RT_GROUP_ICON, 'MAINICON'))
  if Check('MAINICON: icon group present', group is not None):
    _, _, count = struct.unpack_from('<HHH', group[1], 0)
    stored = []
    for index in range(count):
      width, _, _, _, _, bitCount, _, iconId = struct.unpack_from('<BBBBHHIH', group[1], 6 + 14 * index)
      image = resources.get((RT_ICON, iconId))
      stored.append((width or 256, bitCount, None if image is None else image[1]))
    Check('MAINICON: the images of the icon file, 32 bits each',
          iconImages is not None and stored == [(size, 32, image) for size, _, _, image in iconImages],
          f'{[(s, b) for s, b, _ in stored]}')

  manifest = resources.get((RT_MANIFEST, 1))
  if Check('manifest: RT_MANIFEST 1 present', manifest is not None):
    text = manifest[1].decode('utf-8')
    Check('manifest: the file beside the script', manifest[1] == (rcPath.parent / 'tallowind.manifest')
          .read_bytes())
    Check('manifest: asInvoker', 'level="asInvoker"' in text)
    Check('manifest: common controls 6 for x86', 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"'
          in text and 'processorArchitecture="x86" publicKeyToken="6595b64144ccf1df"' in text)
    Check('manifest: the five supported systems', all(f'{{{guid}}}' in text for guid in SUPPORTED_OS))
    Check('manifest: no DPI awareness, no code page of its own',
          'dpiAware' not in text and 'activeCodePage' not in text)

  version = resources.get((RT_VERSION, 1))
  if Check('VERSIONINFO: present', version is not None):
    body = version[1]
    at = body.find(struct.pack('<I', 0xFEEF04BD))
    Check('VERSIONINFO: file and product version 1.0.0.0', at > 0 and
          struct.unpack_from('<IIII', body, at + 8) == (0x00010000, 0, 0x00010000, 0))

    def Value(key):
      start = body.find((key + '\0').encode('utf-16-le'))
      if start < 0:
        return None
      start += (len(key) + 1) * 2
      start = (start + 3) & ~3
      return ReadText(body, start)[0]
    Check('VERSIONINFO: ProductName Tallowind', Value('ProductName') == 'Tallowind',
          str(Value('ProductName')))
    Check('VERSIONINFO: FileDescription', bool(Value('FileDescription')))
    Check('VERSIONINFO: FileVersion 1.0.0.0', Value('FileVersion') == '1.0.0.0')


def main():
  parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
  parser.add_argument('bmp')
  parser.add_argument('ico')
  parser.add_argument('--rc')
  parser.add_argument('--windres', default='i686-w64-mingw32-windres')
  arguments = parser.parse_args()
  CheckChartBackground(arguments.bmp)
  iconImages = CheckIcon(arguments.ico)
  if arguments.rc:
    CheckCompiledResources(arguments.rc, arguments.windres, arguments.bmp, iconImages)
  print(f'{passed} passed, {failed} failed')
  return 1 if failed else 0


if __name__ == '__main__':
  sys.exit(main())
