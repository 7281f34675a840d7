#!/usr/bin/env python3
"""Re-encodes the PNGs that rsvg-convert renders, and describes PNG files.

    artwork-png.py encode IN.png OUT.png [--srgb] [--dpi N] [--text KEY=VALUE]...
    artwork-png.py describe FILE.png|FILE.ico

encode keeps the pixels and nothing else of IN.png (8-bit RGBA or, for an opaque
picture, RGB, as rsvg-convert writes it) and writes OUT.png with chunks IHDR, [sRGB, gAMA], [pHYs], [tEXt...],
IDAT, IEND. Rows use only the None and Sub filters: the program decodes its
images at every start, and those two decode faster than Up, Average or Paeth.
Fully transparent pixels are stored as 0,0,0,0. Same input, same bytes.

describe prints the size, bit depth, colour type, interlacing, chunk names and
the row filters used, one per line, for the artwork check to compare; of an
icon, each image's size, bits per pixel and storage, and PNG images described.
"""

import argparse
import struct
import sys
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"
CHANNELS = {2: 3, 6: 4}  # bytes per pixel of 8-bit RGB and RGBA, by colour type


def read_chunks(data):
    if not data.startswith(SIGNATURE):
        sys.exit("not a PNG file")
    chunks, pos = [], len(SIGNATURE)
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        chunks.append((data[pos + 4:pos + 8], data[pos + 8:pos + 8 + length]))
        pos += 12 + length
    return chunks


def header(chunks):
    width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", chunks[0][1])
    return width, height, depth, colour, interlace


def filtered_rows(chunks):
    """The decompressed image data split into (filter type, row bytes)."""
    width, height, _, colour, _ = header(chunks)
    raw = zlib.decompress(b"".join(body for kind, body in chunks if kind == b"IDAT"))
    stride = width * CHANNELS[colour] + 1
    return [(raw[y * stride], raw[y * stride + 1:(y + 1) * stride]) for y in range(height)]


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def unfilter(ftype, row, prior, bpp):
    out = bytearray(row)
    for i in range(len(out)):
        a = out[i - bpp] if i >= bpp else 0
        b = prior[i]
        c = prior[i - bpp] if i >= bpp else 0
        predictor = (0, a, b, (a + b) >> 1, paeth(a, b, c))[ftype]
        out[i] = (out[i] + predictor) & 0xFF
    return out


def decode_rgba(data):
    chunks = read_chunks(data)
    width, height, depth, colour, interlace = header(chunks)
    if depth != 8 or colour not in CHANNELS or interlace:
        sys.exit("expected 8-bit RGB or RGBA, not interlaced")
    bpp = CHANNELS[colour]
    rows, prior = [], bytearray(width * bpp)
    for ftype, row in filtered_rows(chunks):
        prior = unfilter(ftype, row, prior, bpp) if ftype else bytearray(row)
        rows.append(prior)
    return width, height, [rgba(row, bpp) for row in rows]


def rgba(row, bpp):
    """The row as RGBA, fully transparent pixels as 0,0,0,0."""
    if bpp == 3:
        return b"".join(row[i:i + 3] + b"\xff" for i in range(0, len(row), 3))
    for i in range(3, len(row), 4):
        if row[i] == 0:
            row[i - 3:i] = b"\0\0\0"
    return row


def cost(row):
    return sum(v if v < 128 else 256 - v for v in row)


def none_or_sub(rows):
    """Per row, the cheaper of None and Sub by the sum of absolute differences."""
    out = bytearray()
    for row in rows:
        sub = bytes((row[i] - (row[i - 4] if i >= 4 else 0)) & 0xFF for i in range(len(row)))
        ftype, data = (1, sub) if cost(sub) < cost(row) else (0, bytes(row))
        out.append(ftype)
        out += data
    return bytes(out)


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def encode(args):
    with open(args.input, "rb") as f:
        width, height, rows = decode_rgba(f.read())
    out = SIGNATURE + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    if args.srgb:
        out += chunk(b"sRGB", b"\x00")  # perceptual
        out += chunk(b"gAMA", struct.pack(">I", 45455))  # 1/2.2
    if args.dpi:
        per_metre = round(args.dpi / 0.0254)
        out += chunk(b"pHYs", struct.pack(">IIB", per_metre, per_metre, 1))
    for text in args.text:
        key, _, value = text.partition("=")
        out += chunk(b"tEXt", key.encode("latin-1") + b"\0" + value.encode("latin-1"))
    out += chunk(b"IDAT", zlib.compress(none_or_sub(rows), 9))
    out += chunk(b"IEND", b"")
    with open(args.output, "wb") as f:
        f.write(out)


def describe_png(data):
    chunks = read_chunks(data)
    width, height, depth, colour, interlace = header(chunks)
    print("size %dx%d" % (width, height))
    print("bit depth %d, colour type %d, interlace %d" % (depth, colour, interlace))
    print("chunks " + " ".join(kind.decode("latin-1") for kind, _ in chunks))
    print("filters " + " ".join(str(f) for f in sorted({f for f, _ in filtered_rows(chunks)})))


def describe_ico(data):
    (count,) = struct.unpack("<H", data[4:6])
    for i in range(count):
        width, height, _, _, _, bits, size, offset = struct.unpack("<BBBBHHII", data[6 + 16 * i:22 + 16 * i])
        image = data[offset:offset + size]
        width, height = width or 256, height or 256
        if image.startswith(SIGNATURE):
            print("image %dx%d, %d-bit, PNG" % (width, height, bits))
            describe_png(image)
            continue
        _, dib_width, dib_height, _, dib_bits = struct.unpack("<IiiHH", image[:16])
        mask = (width + 31) // 32 * 4 * height
        with_mask = dib_height == 2 * height and size == 40 + width * height * dib_bits // 8 + mask
        print("image %dx%d, %d-bit, DIB %dx%d %d-bit%s" % (width, height, bits, dib_width, dib_height // 2,
                                                           dib_bits, " with AND mask" if with_mask else ""))


def describe(args):
    with open(args.input, "rb") as f:
        data = f.read()
    (describe_png if data.startswith(SIGNATURE) else describe_ico)(data)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    commands = parser.add_subparsers(dest="command", required=True)
    enc = commands.add_parser("encode")
    enc.add_argument("input")
    enc.add_argument("output")
    enc.add_argument("--srgb", action="store_true", help="add sRGB and gAMA chunks")
    enc.add_argument("--dpi", type=float, help="add a pHYs chunk")
    enc.add_argument("--text", action="append", default=[], metavar="KEY=VALUE")
    desc = commands.add_parser("describe")
    desc.add_argument("input")
    args = parser.parse_args()
    (encode if args.command == "encode" else describe)(args)


if __name__ == "__main__":
    main()
