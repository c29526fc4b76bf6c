#!/usr/bin/env python3
# Makes root_entry_sibling.xls from ../legacy.xls: a copy of the "Workbook" directory entry
# is hung off the root entry as its left sibling. Such an entry belongs to no folder; libgsf
# reads it while opening the document and never frees it (a leak inside
# gsf_infile_msole_new), while the workbook itself still reads.
import pathlib
import struct

here = pathlib.Path(__file__).resolve().parent
data = bytearray((here.parent / "legacy.xls").read_bytes())
sector = 1 << struct.unpack_from("<H", data, 0x1E)[0]
directory = sector * (struct.unpack_from("<I", data, 0x30)[0] + 1)
root, workbook, spare = directory, directory + 128, directory + 256
data[spare:spare + 128] = data[workbook:workbook + 128]
struct.pack_into("<i", data, root + 0x44, 2)  # left sibling of the root entry: entry 2
(here / "root_entry_sibling.xls").write_bytes(data)
