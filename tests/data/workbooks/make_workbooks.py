#!/usr/bin/python3
"""Makes the small workbooks the reader tests open. Run with Debian's python3 (openpyxl,
xlsxwriter, xlwt: python3-openpyxl, python3-xlsxwriter, python3-xlwt); LibreOffice
(libreoffice-calc-nogui), when installed, converts a few of them once more and writes the
.xls files with computed formula results.
The expected texts are written by hand in tests/exchange/WorkbookReaderTest.cpp."""
import datetime as dt
import os
import shutil
import subprocess
import tempfile
import zipfile

import openpyxl
import xlsxwriter
import xlwt

HERE = os.path.dirname(os.path.abspath(__file__))


def path(name):
    return os.path.join(HERE, name)


def openpyxl_basic():
    # Dates with and without time, midnight, numbers, blanks, text, booleans.
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "Данные"
    ws.append(["Время", "Расход", "Давление", "Флаг", "Примечание"])
    ws.append([dt.datetime(2023, 1, 15, 10, 30, 0), 12.5, -0.001, True, "норма"])
    ws.append([dt.datetime(2023, 1, 15, 0, 0, 0), 1e-5, 123456789012345678, False, None])
    ws.append([dt.date(2023, 2, 1), 0.1 + 0.2, 1.5e20, None, "  пробелы  "])
    ws.append([dt.datetime(2023, 1, 15, 10, 31, 0), None, 100, 7, "x"])
    ws["B6"] = 2.0 / 3.0
    ws["A6"] = dt.time(12, 0, 0)
    wb.create_sheet("Второй")["A1"] = "не первый лист"
    wb.save(path("openpyxl_basic.xlsx"))


def openpyxl_range_c3():
    # The used range starts at C3; a merged block keeps its value in the top-left cell.
    wb = openpyxl.Workbook()
    ws = wb.active
    ws["C3"] = "Время"
    ws["D3"] = "T1"
    ws["C4"] = dt.datetime(2024, 3, 1, 8, 0, 0)
    ws["D4"] = 20
    ws["C5"] = dt.datetime(2024, 3, 1, 8, 1, 0)
    ws["D5"] = 20.25
    ws["E6"] = "объединено"
    ws.merge_cells("E6:F7")
    wb.save(path("range_c3.xlsx"))


def openpyxl_single_cell():
    wb = openpyxl.Workbook()
    wb.active["B2"] = 42
    wb.save(path("single_cell.xlsx"))


def xlsxwriter_formulas():
    # Formulas with stored results, shared and rich strings, custom date formats, errors.
    wb = xlsxwriter.Workbook(path("xlsxwriter_formulas.xlsx"))
    ws = wb.add_worksheet("Лист1")
    bold = wb.add_format({"bold": True})
    red = wb.add_format({"color": "red"})
    dmy = wb.add_format({"num_format": "dd/mm/yyyy hh:mm"})
    quoted = wb.add_format({"num_format": '0.00 "sec"'})
    elapsed = wb.add_format({"num_format": "[h]:mm:ss"})
    ws.write_string(0, 0, "A")
    ws.write_string(0, 1, "B")
    ws.write_rich_string(0, 2, "Рас", bold, "ход", red, " м3")
    ws.write_number(1, 0, 2)
    ws.write_number(1, 1, 3)
    ws.write_formula(1, 2, "=A2*B2", None, 6)
    ws.write_formula(2, 2, '="a"&"b"', None, "ab")
    ws.write_formula(3, 2, "=1/0", None, "#DIV/0!")
    ws.write_formula(4, 2, "=A2>B2", None, False)
    ws.write_datetime(2, 0, dt.datetime(2021, 12, 31, 23, 59, 59), dmy)
    ws.write_number(3, 0, 1.25, quoted)
    ws.write_number(4, 0, 1.5, elapsed)
    ws.write_string(2, 1, "A")  # the same shared string again
    ws.merge_range("A6:B6", "слитые", None)
    wb.close()


def xlsxwriter_inline():
    # constant_memory writes every string inline in the sheet.
    wb = xlsxwriter.Workbook(path("inline_strings.xlsx"), {"constant_memory": True})
    ws = wb.add_worksheet()
    ws.write_row(0, 0, ["имя", "значение"])
    ws.write_row(1, 0, ["первый", 1.5])
    ws.write_row(2, 0, ["tab\there", 2])
    wb.close()


def xlsxwriter_1904():
    wb = xlsxwriter.Workbook(path("date1904.xlsx"), {"date_1904": True})
    ws = wb.add_worksheet()
    fmt = wb.add_format({"num_format": "dd.mm.yyyy hh:mm:ss"})
    ws.write_datetime(0, 0, dt.datetime(2000, 6, 15, 6, 30, 0), fmt)
    ws.write_datetime(1, 0, dt.datetime(1904, 1, 2), fmt)
    ws.write_number(0, 1, 5)
    wb.close()


def xlsxwriter_chartsheet_first():
    # A chart sheet before the first worksheet.
    wb = xlsxwriter.Workbook(path("chartsheet_first.xlsx"))
    cs = wb.add_chartsheet("Диаграмма")
    ws = wb.add_worksheet("Данные")
    ws.write_column(0, 0, [1, 2, 3])
    chart = wb.add_chart({"type": "line"})
    chart.add_series({"values": "=Данные!$A$1:$A$3"})
    cs.set_chart(chart)
    wb.worksheets_objs.sort(key=lambda s: 0 if s.is_chartsheet else 1)
    wb.close()


def xlwt_legacy():
    wb = xlwt.Workbook(encoding="utf-8")
    ws = wb.add_sheet("Лист1")
    date_style = xlwt.easyxf(num_format_str="DD.MM.YYYY")
    dt_style = xlwt.easyxf(num_format_str="DD.MM.YYYY hh:mm:ss")
    ws.write(0, 0, "Время")
    ws.write(0, 1, "Значение")
    ws.write(0, 2, "Текст")
    ws.write(1, 0, dt.datetime(2022, 5, 4, 13, 45, 10), dt_style)
    ws.write(1, 1, 3.25)
    ws.write(1, 2, "строка")
    ws.write(2, 0, dt.datetime(2022, 5, 5), date_style)
    ws.write(2, 1, 1234567)
    ws.write(3, 1, -0.5)
    wb.add_sheet("Второй").write(0, 0, "x")
    wb.save(path("legacy.xls"))


def bad_files():
    good = path("range_c3.xlsx")
    data = open(good, "rb").read()
    with open(path("truncated.xlsx"), "wb") as f:
        f.write(data[: len(data) // 2])
    # Damage the compressed sheet data, keeping the zip directory intact.
    with zipfile.ZipFile(good) as z:
        info = z.getinfo("xl/worksheets/sheet1.xml")
    damaged = bytearray(data)
    start = info.header_offset + 30 + len(info.filename) + len(info.extra)
    for k in range(start + 5, start + 5 + min(40, info.compress_size - 10)):
        damaged[k] ^= 0x5A
    with open(path("corrupt.xlsx"), "wb") as f:
        f.write(bytes(damaged))
    # A compound document as a password-protected package looks: the signature, then a
    # directory naming an "EncryptedPackage" stream; nothing a workbook reader can read.
    ole = bytearray(b"\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1" + b"\x00" * 504)
    ole += "EncryptedPackage".encode("utf-16-le") + b"\x00" * 1024
    with open(path("encrypted.xlsx"), "wb") as f:
        f.write(bytes(ole))
    # A zip package that is not a workbook.
    with zipfile.ZipFile(path("not_workbook.zip"), "w") as z:
        z.writestr("word/document.xml", "<document/>")
    # Binary content that is no text.
    with open(path("binary.dat"), "wb") as f:
        f.write(bytes(range(256)))


def bad_cell():
    # A shared-string index past the table: the cell cannot be read, the rest can.
    ns = "http://schemas.openxmlformats.org/"
    with zipfile.ZipFile(path("bad_cell.xlsx"), "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("[Content_Types].xml", '<Types xmlns="%spackage/2006/content-types"/>' % ns)
        z.writestr("_rels/.rels", '<Relationships xmlns="%spackage/2006/relationships">'
                   '<Relationship Id="rId1" Type="%sofficeDocument/2006/relationships/officeDocument" '
                   'Target="/xl/workbook.xml"/></Relationships>' % (ns, ns))
        z.writestr("xl/workbook.xml", '<workbook xmlns="%sspreadsheetml/2006/main" '
                   'xmlns:r="%sofficeDocument/2006/relationships"><sheets>'
                   '<sheet name="S" sheetId="1" r:id="rId1"/></sheets></workbook>' % (ns, ns))
        z.writestr("xl/_rels/workbook.xml.rels", '<Relationships xmlns="%spackage/2006/relationships">'
                   '<Relationship Id="rId1" Type="%sofficeDocument/2006/relationships/worksheet" '
                   'Target="worksheets/s.xml"/>'
                   '<Relationship Id="rId2" Type="%sofficeDocument/2006/relationships/sharedStrings" '
                   'Target="strings.xml"/></Relationships>' % (ns, ns, ns))
        z.writestr("xl/strings.xml", '<sst xmlns="%sspreadsheetml/2006/main"><si><t>after</t></si></sst>' % ns)
        z.writestr("xl/worksheets/s.xml", '<worksheet xmlns="%sspreadsheetml/2006/main"><sheetData>'
                   '<row r="1"><c r="A1" t="inlineStr"><is><t>t</t></is></c><c r="B1" t="inlineStr"><is><t>a</t></is></c>'
                   '<c r="C1" t="inlineStr"><is><t>b</t></is></c></row>'
                   '<row r="2"><c r="A2"><v>1</v></c><c r="B2" t="s"><v>99</v></c><c r="C2"><v>7</v></c></row>'
                   '<row r="3"><c r="A3" t="s"><v>0</v></c></row>'
                   '</sheetData></worksheet>' % ns)


def features():
    # Written by hand: the workbook part in an unusual folder reached through "../",
    # escaped characters, a phonetic run, an ISO date cell, a formula string, booleans,
    # an error, a formula without a stored result and a cell without a reference.
    ns = "http://schemas.openxmlformats.org/"
    with zipfile.ZipFile(path("features.xlsx"), "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("_rels/.rels", '<Relationships xmlns="%spackage/2006/relationships">'
                   '<Relationship Id="rId1" Type="%sofficeDocument/2006/relationships/officeDocument" '
                   'Target="book/wb.xml"/></Relationships>' % (ns, ns))
        z.writestr("book/wb.xml", '<x:workbook xmlns:x="%sspreadsheetml/2006/main" '
                   'xmlns:r="%sofficeDocument/2006/relationships"><x:workbookPr date1904="false"/><x:sheets>'
                   '<x:sheet name="S" sheetId="1" r:id="rId7"/></x:sheets></x:workbook>' % (ns, ns))
        z.writestr("book/_rels/wb.xml.rels", '<Relationships xmlns="%spackage/2006/relationships">'
                   '<Relationship Id="rId7" Type="%sofficeDocument/2006/relationships/worksheet" '
                   'Target="../sheets/first%%20sheet.xml"/>'
                   '<Relationship Id="rId8" Type="%sofficeDocument/2006/relationships/sharedStrings" '
                   'Target="/book/sst.xml"/>'
                   '<Relationship Id="rId9" Type="%sofficeDocument/2006/relationships/styles" '
                   'Target="./st.xml"/></Relationships>' % (ns, ns, ns, ns))
        z.writestr("book/sst.xml", '<sst xmlns="%sspreadsheetml/2006/main">'
                   '<si><t>line_x000D_</t></si>'
                   '<si><t>_x005F_x0041_</t></si>'
                   '<si><t>漢字</t><rPh sb="0" eb="2"><t>カンジ</t></rPh></si>'
                   '<si><r><t xml:space="preserve">a </t></r><r><rPr><b/></rPr><t>b</t></r></si>'
                   '</sst>' % ns)
        z.writestr("book/st.xml", '<styleSheet xmlns="%sspreadsheetml/2006/main">'
                   '<numFmts><numFmt numFmtId="200" formatCode="d/m/yy\ h:mm"/>'
                   '<numFmt numFmtId="201" formatCode="&quot;day&quot;0"/></numFmts>'
                   '<cellStyleXfs><xf numFmtId="14"/></cellStyleXfs>'
                   '<cellXfs><xf numFmtId="0"/><xf numFmtId="200"/><xf numFmtId="201"/><xf numFmtId="14"/>'
                   '</cellXfs></styleSheet>' % ns)
        z.writestr("sheets/first sheet.xml", '<worksheet xmlns="%sspreadsheetml/2006/main"><sheetData>'
                   '<row r="2"><c r="B2" t="s"><v>0</v></c><c r="C2" t="s"><v>1</v></c>'
                   '<c r="D2" t="s"><v>2</v></c><c r="E2" t="s"><v>3</v></c></row>'
                   '<row r="3"><c r="B3" t="d"><v>2024-03-01T12:30:00</v></c><c r="C3" t="str"><f>A1</f><v>x&amp;y</v></c>'
                   '<c r="D3" t="b"><v>1</v></c><c r="E3" t="e"><v>#N/A</v></c></row>'
                   '<row r="4"><c r="B4" s="1"><v>45000.75</v></c><c r="C4" s="2"><v>3</v></c>'
                   '<c r="D4" s="3"><v>45000</v></c><c r="E4"><f>SUM(B4)</f></c><c s="1"/></row>'
                   '<row r="5"><c r="B5"><v>1</v></c><c><v>2</v></c><c r="F5"><v>-3</v></c></row>'
                   '</sheetData></worksheet>' % ns)


def huge_range():
    # Two cells at opposite corners of a sheet: a used range of 17 billion cells.
    wb = openpyxl.Workbook()
    wb.active["A1"] = 1
    wb.active["XFD1048576"] = 2
    wb.save(path("huge_range.xlsx"))


def csv_files():
    text = "Время;Температура;Комментарий\r\n01.02.2023 10:00:00;1,5;\"a;b\"\r\n01.02.2023 10:01:00;;\"он сказал \"\"да\"\"\"\r\n"
    with open(path("cp1251.csv"), "wb") as f:
        f.write(text.encode("cp1251"))
    # As the series export writes: joined layout, and single layout with a trailing ";".
    with open(path("export_joined.csv"), "w", encoding="utf-8", newline="") as f:
        f.write("time;Поток;Уровень\r\n15.01.2023;1,5;\r\n15.01.2023 0:01:00;;-2E-5\r\n")
    with open(path("export_single.csv"), "w", encoding="utf-8-sig", newline="") as f:
        f.write("time;Поток;\r\n15.01.2023;1,5;\r\n15.01.2023 0:01:00;2;\r\n")
    with open(path("comma.csv"), "w", encoding="utf-8", newline="") as f:
        f.write("a,b\n1,\"x\ny\"\n")
    with open(path("empty.csv"), "wb") as f:
        pass
    # A comma table whose header holds ";" inside quotes, and the spreadsheet's "Unicode
    # text": UTF-16 with a byte order mark, tab-separated, a ";" inside a name.
    with open(path("comma_quoted_header.csv"), "w", encoding="utf-8", newline="") as f:
        f.write('Время,"Давление;кПа",Расход\r\n01.02.2023 10:00:00,1.5,2\r\n')
    with open(path("unicode_text.txt"), "w", encoding="utf-16", newline="") as f:
        f.write("Время\tДавление;кПа\tРасход\r\n01.02.2023 10:00:00\t1,5\t2\r\n")


def formulas_for_libreoffice():
    # Computed columns as a plant export has them, without stored results: LibreOffice
    # computes them on loading and keeps the results in the .xls it writes (numbers, texts,
    # booleans, errors, dates, an empty text). Long texts run over several records: a shared
    # text in one- and two-byte characters, and the text result of a formula.
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "Расчет"
    ws.append(["Время", "Расход", "Удвоенный", "Оценка", "Больше", "Ошибка", "Завтра", "Пусто", "Длинный"])
    start = dt.datetime(2024, 1, 31, 22, 0, 0)
    for i in range(1, 5):
        r = i + 1
        ws.append([start + dt.timedelta(hours=i), i * 1.5, "=B%d*2" % r, '=IF(B%d>3,"высокий","low")' % r,
                   "=B%d>3" % r, "=1/(B%d-B%d)" % (r, r), "=A%d+1" % r, '=""'])
        ws["A%d" % r].number_format = "DD.MM.YYYY HH:MM:SS"
        ws["G%d" % r].number_format = "DD.MM.YYYY HH:MM:SS"
    ws["I2"] = "ж" * 6000
    ws["I3"] = "z" * 9000
    ws["I4"] = '=REPT("ю",5000)'
    wb.save(path("formulas_source.xlsx"))


def libreoffice_copies():
    soffice = shutil.which("soffice")
    if not soffice:
        return
    with tempfile.TemporaryDirectory() as tmp:
        for src, fmt, name in [("legacy.xls", "xlsx", "libreoffice.xlsx"),
                               ("openpyxl_basic.xlsx", "xls", "libreoffice.xls"),
                               ("formulas_source.xlsx", "xls", "libreoffice_formulas.xls"),
                               ("date1904.xlsx", "xls", "date1904.xls")]:
            subprocess.run([soffice, "--headless", "-env:UserInstallation=file://" + tmp + "/profile",
                            "--convert-to", fmt, "--outdir", tmp, path(src)],
                           check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            shutil.move(os.path.join(tmp, os.path.splitext(src)[0] + "." + fmt), path(name))
    os.remove(path("formulas_source.xlsx"))


if __name__ == "__main__":
    openpyxl_basic()
    openpyxl_range_c3()
    openpyxl_single_cell()
    xlsxwriter_formulas()
    xlsxwriter_inline()
    xlsxwriter_1904()
    xlsxwriter_chartsheet_first()
    xlwt_legacy()
    bad_files()
    bad_cell()
    features()
    huge_range()
    csv_files()
    formulas_for_libreoffice()
    libreoffice_copies()
