#!/usr/bin/env python3
"""Reads the table-definition documents back with openpyxl and checks them.

usage: definition_check.py DEFINITION_FIXTURE QUARNEL_DUMP DEMO_DB OUTPUT_FOLDER
"""
import os
import re
import resource
import shutil
import signal
import subprocess
import sys
import unittest
import urllib.parse

import openpyxl

FIXTURE, DUMP, DEMO_DB, OUT = sys.argv[1:5]
del sys.argv[1:5]

LIST = "テーブル一覧"
ODD = "Order Lines/2024: [draft]?"
LONG = "A_VERY_LONG_TABLE_NAME_THAT_EXCEEDS_THIRTY_ONE"
SHEETS = [LIST, "DEPT", "EMP", "Order Lines_2024_ _draft__", "emp~2", LONG[:31], "CON"]
ENAME_COMMENT = '氏名\n姓と名 | 全角 "引用" \'quote\''

# Each column row of the hand-made schema: No, 論理名, 物理名, データ型, 桁数, 精度, 位取り,
# NOT NULL, PK, UK, FK, デフォルト, 備考.
COLUMNS = {
    "DEPT": [
        (1, "部署番号", "DEPTNO", "NUMBER(2)", None, 2, 0, "○", 1, None, None, None, None),
        (2, "部署名", "DNAME", "VARCHAR2(14)", 14, None, None, None, None, 1, None, None, None),
        (3, None, "LOC", "VARCHAR2(13)", 13, None, None, None, None, None, None, "'TOKYO'", None),
    ],
    "EMP": [
        (1, "社員番号", "EMPNO", "NUMBER(4)", None, 4, 0, "○", 1, None, None, None, None),
        (2, "氏名", "ENAME", "VARCHAR2(10 CHAR)", 10, None, None, "○", None, None, None, None,
         '姓と名 | 全角 "引用" \'quote\''),
        (3, "給与", "SAL", "NUMBER(9,2)", None, 9, 2, None, None, None, None, "0", None),
        (4, "入社日", "HIREDATE", "DATE", None, None, None, None, None, None, None, "SYSDATE",
         None),
        (5, "部署番号", "DEPTNO", "NUMBER(2)", None, 2, 0, None, None, None, "DEPT.DEPTNO", None,
         None),
    ],
    ODD: [(1, None, "Line No", "NUMBER", None, None, None, None, None, None, None, None, None)],
    "emp": [(1, "パイプ|入り", "A|B", "CHAR(1)", 1, None, None, None, None, None, None, None,
             None)],
    LONG: [(1, None, "X", "RAW(16)", 16, None, None, None, None, None, None, None, None)],
    "CON": [(1, None, "Y", "VARCHAR2(10)", 10, None, None, None, None, None, None, None, None)],
}
TABLES = list(COLUMNS)


def row_values(ws, row, first=1, count=13):
    return tuple(ws.cell(row=row, column=c).value for c in range(first, first + count))


def merged(ws):
    return {str(r) for r in ws.merged_cells.ranges}


def find_row(ws, text, column=1):
    for row in range(1, ws.max_row + 1):
        if ws.cell(row=row, column=column).value == text:
            return row
    raise AssertionError(f"{text} not in {ws.title}")


def check_print_setup(test, ws, title_rows, freeze, filter_ref):
    test.assertEqual(ws.page_setup.orientation, "landscape")
    test.assertEqual(str(ws.page_setup.paperSize), "9")
    test.assertTrue(ws.sheet_properties.pageSetUpPr.fitToPage)
    # A width of 1 page is the default, which the file may leave unsaid.
    test.assertIn(ws.page_setup.fitToWidth, (None, 1))
    test.assertEqual(ws.page_setup.fitToHeight, 0)
    test.assertEqual(ws.print_title_rows, title_rows)
    test.assertEqual(ws.freeze_panes, freeze)
    test.assertEqual(ws.auto_filter.ref, filter_ref)


def run_fixture():
    shutil.rmtree(OUT, ignore_errors=True)
    subprocess.run([FIXTURE, OUT], check=True)


class PerTableWorkbook(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.book = openpyxl.load_workbook(os.path.join(OUT, "book.xlsx"))

    def test_sheets_follow_excels_name_rules(self):
        self.assertEqual(self.book.sheetnames, SHEETS)

    def test_table_list_rows_link_to_their_sheets(self):
        ws = self.book[LIST]
        self.assertEqual(row_values(ws, 6, count=7),
                         ("No", "物理名", "論理名", "列数", "主キー", "備考", "シート名"))
        for i, table in enumerate(TABLES):
            cell = ws.cell(row=7 + i, column=2)
            self.assertEqual(cell.value, table)
            quoted = SHEETS[1 + i].replace("'", "''")
            self.assertEqual(cell.hyperlink.location, f"'{quoted}'!A1")
            self.assertEqual(ws.cell(row=7 + i, column=4).value, len(COLUMNS[table]))
            self.assertEqual(ws.cell(row=7 + i, column=7).value, SHEETS[1 + i])
        self.assertEqual(row_values(ws, 7, count=6), (1, "DEPT", "部署", 3, "DEPTNO", "組織の単位"))
        self.assertIn("A1:G1", merged(ws))
        self.assertEqual([ws["C2"].value, ws["C3"].value, ws["C4"].value],
                         ["DEMO", "sqlite:demo.db", "2026/12/07 09:30:00"])
        self.assertTrue({"A2:B2", "C2:G2", "A4:B4", "C4:G4"} <= merged(ws))
        check_print_setup(self, ws, "$1:$6", "A7", "A6:G12")

    def test_every_column_row_states_the_models_facts(self):
        for i, table in enumerate(TABLES):
            ws = self.book[SHEETS[1 + i]]
            self.assertEqual(ws["C2"].value, table)
            for n, expected in enumerate(COLUMNS[table]):
                self.assertEqual(row_values(ws, 7 + n), expected, f"{table} row {n + 1}")
            self.assertIsNone(ws.cell(row=7 + len(COLUMNS[table]), column=3).value)

    def test_header_block_is_merged_and_links_back(self):
        ws = self.book["EMP"]
        self.assertEqual(ws["A1"].hyperlink.location, f"'{LIST}'!A1")
        self.assertTrue({"C1:M1", "A2:B2", "C2:F2", "G2:H2", "I2:M2", "A3:B3", "C3:M3",
                         "C4:F4", "I4:M4"} <= merged(ws))
        self.assertEqual((ws["I2"].value, ws["C3"].value, ws["C4"].value, ws["I4"].value),
                         ("社員", "社員", "DEMO", "2026/12/07 09:30:00"))
        self.assertEqual(self.book["DEPT"]["C3"].value, "部署\n組織の単位")
        self.assertEqual(self.book[SHEETS[5]]["C2"].value, LONG)
        check_print_setup(self, ws, "$1:$6", "A7", "A6:M11")

    def test_sections_list_indexes_keys_and_constraints(self):
        ws = self.book["EMP"]
        at = find_row(ws, "インデックス")
        self.assertEqual(row_values(ws, at + 2, count=4),
                         (1, "EMP_NAME_IX", None, 'UPPER("ENAME"), HIREDATE DESC'))
        self.assertEqual(row_values(ws, at + 3, count=4), (2, "PK_EMP", "○", "EMPNO"))
        at = find_row(ws, "外部キー")
        self.assertEqual(row_values(ws, at + 2, count=5),
                         (1, "FK_EMP_DEPT", "DEPTNO", "DEPT", "DEPTNO"))
        self.assertEqual(ws.cell(row=at + 2, column=11).value, "SET NULL")
        at = find_row(ws, "制約")
        self.assertEqual(row_values(ws, at + 2, count=4), (1, "CK_EMP_SAL", "CHECK", "SAL >= 0"))
        dept = self.book["DEPT"]
        at = find_row(dept, "制約")
        self.assertEqual(row_values(dept, at + 2, count=4), (1, "UK_DEPT_DNAME", "UNIQUE", "DNAME"))

    def test_widths_count_full_width_characters_twice(self):
        ws = self.book["EMP"]
        # 論理名 holds 社員番号 (8 units) and the header; 物理名 holds HIREDATE (8) too.
        self.assertGreaterEqual(ws.column_dimensions["B"].width, 10)
        self.assertLess(ws.column_dimensions["A"].width, 8)


class OneSheetWorkbook(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.book = openpyxl.load_workbook(os.path.join(OUT, "one.xlsx"))

    def test_sheets(self):
        self.assertEqual(self.book.sheetnames, [LIST, "カラム一覧", "インデックス一覧", "制約一覧"])

    def test_column_rows_carry_their_table_first(self):
        ws = self.book["カラム一覧"]
        self.assertEqual(row_values(ws, 4, count=3), ("テーブル物理名", "テーブル論理名", "No"))
        row = 5
        logical = {"DEPT": "部署", "EMP": "社員"}
        for table in TABLES:
            for expected in COLUMNS[table]:
                self.assertEqual(row_values(ws, row, count=15),
                                 (table, logical.get(table)) + expected)
                row += 1
        self.assertIsNone(ws.cell(row=row, column=1).value)
        check_print_setup(self, ws, "$1:$4", "A5", f"A4:O{row - 1}")

    def test_list_links_to_each_tables_first_row(self):
        ws = self.book[LIST]
        self.assertEqual(ws["B7"].hyperlink.location, "'カラム一覧'!A5")
        self.assertEqual(ws["B8"].hyperlink.location, "'カラム一覧'!A8")
        self.assertEqual(ws["B9"].hyperlink.location, "'カラム一覧'!A13")

    def test_constraints_of_every_kind(self):
        ws = self.book["制約一覧"]
        rows = [row_values(ws, r, count=9) for r in range(5, ws.max_row + 1)]
        self.assertIn(("EMP", 2, "FK_EMP_DEPT", "FOREIGN KEY", "DEPTNO", "DEPT", "DEPTNO",
                       "SET NULL", None), rows)
        self.assertIn(("EMP", 3, "CK_EMP_SAL", "CHECK", None, None, None, None, "SAL >= 0"), rows)
        self.assertIn(("DEPT", 2, "UK_DEPT_DNAME", "UNIQUE", "DNAME", None, None, None, None), rows)
        ws = self.book["インデックス一覧"]
        self.assertEqual(row_values(ws, 7, count=5),
                         ("EMP", 1, "EMP_NAME_IX", None, 'UPPER("ENAME"), HIREDATE DESC'))


def md_rows(text, header):
    """The cells of the Markdown table whose header row starts with `header`, unescaped."""
    lines = text.split("\n")
    start = next(i for i, line in enumerate(lines) if line.startswith(header))
    rows = []
    for line in lines[start + 2:]:
        if not line.startswith("|"):
            break
        cells = re.split(r"(?<!\\)\|", line.strip()[1:-1])
        rows.append([unescape(c.strip()) for c in cells])
    return rows


def unescape(cell):
    cell = re.sub(r"^(`+) ?(.*?) ?\1$", r"\2", cell)
    return re.sub(r"\\(.)", r"\1", cell).replace("<br>", "\n")


class MarkdownFolder(unittest.TestCase):
    def read(self, name):
        with open(os.path.join(OUT, "md", name), encoding="utf-8") as f:
            return f.read()

    def test_files_are_safe_and_unique_ignoring_case(self):
        expected = {"README.md", "DEPT.md", "EMP.md", "Order Lines_2024_ [draft]_.md",
                    "emp~2.md", LONG + ".md", "CON_.md"}
        self.assertEqual(set(os.listdir(os.path.join(OUT, "md"))), expected)

    def test_readme_lists_tables_with_relative_links(self):
        rows = md_rows(self.read("README.md"), "| No |")
        self.assertEqual([r[0] for r in rows], [str(i + 1) for i in range(len(TABLES))])
        links = re.findall(r"\]\(([^)]+)\)", self.read("README.md"))
        self.assertEqual([urllib.parse.unquote(link) for link in links],
                         ["DEPT.md", "EMP.md", "Order Lines_2024_ [draft]_.md", "emp~2.md",
                          LONG + ".md", "CON_.md"])
        self.assertEqual(rows[0][1:], ["[`DEPT`](DEPT.md)", "部署", "3", "DEPTNO", "組織の単位"])

    def test_column_table_matches_the_model(self):
        for table, name in [("EMP", "EMP.md"), ("emp", "emp~2.md"), ("DEPT", "DEPT.md")]:
            rows = md_rows(self.read(name), "| No | 論理名 |")
            for expected, row in zip(COLUMNS[table], rows):
                as_text = ["" if v is None else str(v) for v in expected]
                self.assertEqual(row, as_text, name)
        emp = self.read("EMP.md")
        self.assertIn(r"| 2 | 氏名 | `ENAME` |", emp)
        self.assertIn(r"姓と名 \| 全角 \"引用\" 'quote'".replace('\\"', '"'), emp)
        self.assertIn("| 1 | `FK_EMP_DEPT` | `DEPTNO` | `DEPT` | `DEPTNO` | SET NULL |", emp)
        self.assertIn('`UPPER("ENAME"), HIREDATE DESC`', emp)
        self.assertIn("部署<br>組織の単位", self.read("DEPT.md"))


def limited(limit):
    def start():
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))
    return start


class DemoThroughQuarnelDump(unittest.TestCase):
    def dump(self, *args, limit=None):
        return subprocess.run([DUMP, "--host", "sqlite:" + DEMO_DB, "--user", "demo", *args],
                              capture_output=True, preexec_fn=limited(limit) if limit else None)

    def test_workbook_has_a_sheet_per_listed_table(self):
        listed = self.dump("--list").stdout.decode().split("\r\n")[1:-1]
        target = os.path.join(OUT, "demo.xlsx")
        self.assertEqual(self.dump("--definition-xlsx", target).returncode, 0)
        book = openpyxl.load_workbook(target)
        self.assertEqual(book.sheetnames[1:], listed)
        for table in listed:
            csv = self.dump("--info-csv", table).stdout.decode("utf-8").split("\r\n")
            names = [line.split(",")[3] for line in csv[2:] if line]
            ws = book[table]
            self.assertEqual([ws.cell(row=7 + i, column=3).value for i in range(len(names))],
                             names)

    def test_a_failing_write_leaves_the_old_file_and_no_trace(self):
        folder = os.path.join(OUT, "full")
        os.makedirs(folder, exist_ok=True)
        for option, name in [("--definition-xlsx", "book.xlsx"), ("--definition-md", "doc")]:
            target = os.path.join(folder, name)
            if option == "--definition-md":
                os.makedirs(target, exist_ok=True)
                old = os.path.join(target, "README.md")
            else:
                old = target
            with open(old, "wb") as f:
                f.write(b"old bytes")
            result = self.dump(option, target, limit=1000)
            self.assertEqual(result.returncode, 1, result.stderr)
            self.assertIn("cannot write", result.stderr.decode())
            with open(old, "rb") as f:
                self.assertEqual(f.read(), b"old bytes")
        self.assertEqual(sorted(os.listdir(folder)), ["book.xlsx", "doc"])


if __name__ == "__main__":
    run_fixture()
    unittest.main(verbosity=1)
