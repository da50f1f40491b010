#!/usr/bin/env python3
"""Writes a copy of an SVG file without the elements whose ids are given.

Used by make_icons.sh to take the "new" sparkle off Tango icons whose picture is
otherwise the right one (a business card for contacts, a clock for reminders).
Usage: svg_strip.py SOURCE.svg TARGET.svg ID [ID...]
"""
import sys
import xml.etree.ElementTree as ET

NAMESPACES = {
    "": "http://www.w3.org/2000/svg",
    "xlink": "http://www.w3.org/1999/xlink",
    "inkscape": "http://www.inkscape.org/namespaces/inkscape",
    "sodipodi": "http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd",
    "rdf": "http://www.w3.org/1999/02/22-rdf-syntax-ns#",
    "cc": "http://creativecommons.org/ns#",
    "dc": "http://purl.org/dc/elements/1.1/",
}


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    source, target, ids = sys.argv[1], sys.argv[2], set(sys.argv[3:])
    for prefix, uri in NAMESPACES.items():
        ET.register_namespace(prefix, uri)
    tree = ET.parse(source)
    parents = {child: parent for parent in tree.iter() for child in parent}
    removed = 0
    for element in list(tree.iter()):
        if element.get("id") in ids:
            parents[element].remove(element)
            removed += 1
    if removed != len(ids):
        sys.exit(f"{source}: found {removed} of {len(ids)} elements to remove")
    tree.write(target)


if __name__ == "__main__":
    main()
