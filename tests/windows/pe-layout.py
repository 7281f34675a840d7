#!/usr/bin/env python3
"""Prints where a Windows executable (PE32 or PE32+) keeps its sections and its certificate
table, read from the headers, one fact a line:

    file_size BYTES
    section NAME OFFSET SIZE   one line per section: where its raw data lies in the file
    raw_data_end BYTES         where the raw data of the last section ends
    security OFFSET SIZE       data directory entry 4, the certificate table (0 0: unsigned)

Usage: pe-layout.py FILE          Exits 1 when FILE is no PE file.
"""
import struct
import sys

SECURITY_ENTRY = 4
# Where the data directories start in the optional header, by its magic number.
DIRECTORIES_AT = {0x10B: 96, 0x20B: 112}


def layout(data):
    if data[:2] != b"MZ":
        raise ValueError("no MZ header")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("no PE signature")
    sections, optional_size = struct.unpack_from("<2xH12xH", data, pe + 4)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    if magic not in DIRECTORIES_AT:
        raise ValueError(f"unknown optional header magic {magic:#x}")
    directories = optional + DIRECTORIES_AT[magic]
    count = struct.unpack_from("<I", data, directories - 4)[0]
    security = (0, 0)
    if count > SECURITY_ENTRY:
        security = struct.unpack_from("<II", data, directories + 8 * SECURITY_ENTRY)

    lines = [f"file_size {len(data)}"]
    end = 0
    table = optional + optional_size
    for index in range(sections):
        name, size, offset = struct.unpack_from("<8s8xII", data, table + 40 * index)
        name = name.rstrip(b"\0").decode("ascii", "replace")
        lines.append(f"section {name} {offset} {size}")
        if size:
            end = max(end, offset + size)
    lines.append(f"raw_data_end {end}")
    lines.append(f"security {security[0]} {security[1]}")
    return lines


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    with open(sys.argv[1], "rb") as file:
        data = file.read()
    try:
        print("\n".join(layout(data)))
    except (ValueError, struct.error) as error:
        sys.exit(f"pe-layout: {sys.argv[1]}: {error}")


if __name__ == "__main__":
    main()
