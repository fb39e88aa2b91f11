"""Reads a DXF back with ezdxf, an independent reader, as a CAD user's
program would: recovery mode and the auditor must find nothing to fix, the
file must be R12 with the Japanese code page, and every expected text must
be a TEXT entity at exactly its coordinates.

    check_dxf.py FILE.dxf [TEXT@X,Y ...]

Prints what is wrong and exits 1; prints "ok" and exits 0 otherwise.
"""
import sys

try:
    import ezdxf
    from ezdxf import recover
except ImportError:
    print("python3-ezdxf is not installed (scripts/install-deps.sh installs it)")
    sys.exit(1)

problems = []
doc, auditor = recover.readfile(sys.argv[1])
auditor = doc.audit() if auditor is None else auditor
for error in auditor.errors:
    problems.append("auditor error: %s" % (error.message,))
for fix in auditor.fixes:
    problems.append("auditor fix: %s" % (fix.message,))
if doc.dxfversion != "AC1009":
    problems.append("version %s, not AC1009" % doc.dxfversion)
if doc.header.get("$DWGCODEPAGE") != "ANSI_932":
    problems.append("code page %s" % doc.header.get("$DWGCODEPAGE"))
if doc.encoding.lower() not in ("cp932", "shift_jis", "sjis"):
    problems.append("encoding %s, not cp932" % doc.encoding)
for name in ("地盤線", "管渠", "水面", "マンホール", "表", "文字"):
    if name not in doc.layers:
        problems.append("layer %s missing" % name)
if "DASHED" not in doc.linetypes:
    problems.append("line type DASHED missing")

msp = doc.modelspace()
kinds = {e.dxftype() for e in msp}
if not kinds <= {"LINE", "TEXT", "POLYLINE", "CIRCLE"}:
    problems.append("entities beyond R12's: %s" % sorted(kinds))
texts = [e for e in msp if e.dxftype() == "TEXT"]
for expected in sys.argv[2:]:
    text, _, where = expected.rpartition("@")
    x, y = (float(v) for v in where.split(","))
    found = [t for t in texts if t.dxf.text == text]
    if not found:
        problems.append("no TEXT %r" % text)
    elif not any(abs(t.dxf.insert[0] - x) < 1e-9 and abs(t.dxf.insert[1] - y) < 1e-9 for t in found):
        problems.append("TEXT %r at %s, not at %s" % (text, [tuple(t.dxf.insert)[:2] for t in found], (x, y)))

for p in problems:
    print(p)
print("ok" if not problems else "%d problems" % len(problems))
sys.exit(1 if problems else 0)
