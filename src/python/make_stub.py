"""Writes the stub file of the package morvek: the template with the Case
properties of the module just built, one per row of the field table, so that
an input added to the table appears in editors by itself.

    make_stub.py TEMPLATE OUTPUT    (with the built package on PYTHONPATH)
"""

import sys

import morvek

MARKER = "    # @FIELD_PROPERTIES@\n"
TYPES = {"number": "float", "text": "str", "choice": "int", "date": "datetime.date | None"}


def field_lines():
    lines = []
    for field in morvek.fields():
        doc = getattr(morvek.Case, field.name).__doc__.strip().replace("\\", "\\\\")
        lines.append(f"    {field.name}: {TYPES[field.kind]}\n")
        lines.append(f'    """{doc}"""\n')
    return "".join(lines)


def main(template, output):
    with open(template, encoding="utf-8") as f:
        text = f.read()
    if MARKER not in text:
        sys.exit(f"{template}: the marker of the field properties is missing")
    text = text.replace(MARKER, field_lines())
    with open(output, "w", encoding="utf-8") as f:
        f.write(text)


if __name__ == "__main__":
    main(*sys.argv[1:])
