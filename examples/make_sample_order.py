#!/usr/bin/env python3
"""Writes sample_order.txt: the parameter table a host puts into the exchange area for a small net order
with reduced-rate lines, its order lines compressed (CANCOMPRESS = 1), and a footer the module replaces."""
import zlib

COLUMNS = ["TColumn-1", "Pos.", "Stueck", "Einheit", "Bezeichnung1", "Bezeichnung2", "BestellNummer",
           "Seriennummer", "Artikelnummer", "Einzelbetrag", "Steuer", "SummeBetrag", "intern", "ID_Artikel",
           "benutzer", "Rabatt"]


def esc(t):
    return t.replace("%", "%%").replace("\0", "%0").replace("\n", "%n").replace("\r", "%c")


def q(t):
    return '"' + t.replace('"', '""') + '"'


def grid_payload(rows):
    out = [q("@@DATADEF START@@")] + [q(c) for c in COLUMNS] + [q("SecondField"), q("@@DATADEF END@@")]
    out.append(",".join(q(c) for c in COLUMNS) + "," + q("SecondField") + ",")
    for cells, second in rows:
        out.append(",".join(q(esc(c)) for c in cells) + "," + q(esc(second)) + ",")
    return ("\r\n".join(out) + "\r\n").encode("cp1252")


def encode_binary(data):
    bits, count, out = 0, 0, []
    for b in data:
        bits |= b << count
        count += 8
        while count >= 6:
            out.append(chr((bits & 63) + 32))
            bits >>= 6
            count -= 6
    if count:
        out.append(chr((bits & 63) + 32))
    return "".join(out)


def line(pos, qty, unit, text, price, tax, discount="", kind="", second=""):
    cells = [kind, pos, qty, unit, text, "", "", "", "A-" + pos, price, tax, "", "", pos, "", discount]
    return cells, second


rows = [
    (["t", "", "", "", "Fliesenarbeiten Bad", "", "", "", "", "", "", "", "", "", "", ""], ""),
    line("1", "12,5", "m\xb2", "Wandfliesen verlegen", "38,90", "7", second="inkl. Kleber und Fugenmasse"),
    line("2", "6", "m\xb2", "Bodenfliesen verlegen", "44,50", "7", discount="5"),
    line("3", "1", "psch", "Silikonfugen erneuern", "185,00", "7"),
    (["a", "", "", "", "Alternativ: Naturstein", "", "", "", "", "", "", "", "", "", "", ""], ""),
    line("4", "3", "Std.", "Anfahrt und Entsorgung", "52,00", "7"),
]
for cells, _ in rows:
    kinds = cells[0]
    if kinds in ("", "d", "*"):
        qty = float(cells[2].replace(",", "."))
        price = float(cells[9].replace(",", "."))
        disc = float(cells[15].replace(",", ".") or 0)
        base = qty * price
        cells[11] = ("%.2f" % (base - base / 100 * disc)).replace(".", ",")

payload = zlib.compress(grid_payload(rows), 1)
footer = (b"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Tahoma;}}\\f0\\fs20 Zahlbar innerhalb 14 Tagen "
          b"ohne Abzug.\\par}")


def row(ident, a=None, b=None):
    fields = [q(esc(ident)), "" if a is None else q(encode_binary(a)), "" if b is None else q(esc(b))]
    return ",".join(fields) + ",\r\n"


text = q("Ident") + "," + q("ValueA") + "," + q("ValueB") + ",\r\n"
for k, v in [("ConnectPath", "localhost:/srv/auftrag.fdb"), ("V5", "1"), ("CANCOMPRESS", "1"),
             ("Servertype", "2"), ("Netto", "1"), ("DM", "0"), ("CPID", "4711"), ("CPAdressID", "815"),
             ("CPID_ORDER", "20260117"), ("Browse", "0"), ("ADRESSNAME", "Bauunternehmen M\xfcller GmbH"),
             ("CPSTEUERHIGH", "19"), ("CPSTEUERLOW", "7"), ("5Rappen", "0"), ("Screen", "0"),
             ("CalcFileName", "A2026-0117.CAL")]:
    text += row(k, b=v)
text += row("DATA", a=payload)
text += row("RTFFOOT", a=footer)
with open("sample_order.txt", "wb") as f:
    f.write(text.encode("cp1252"))
