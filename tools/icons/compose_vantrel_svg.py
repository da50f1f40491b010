#!/usr/bin/env python3
"""Writes the program's scalable icon: the same drawing as tools/make_icons.sh renders to
src/res/icons/vantrel-*.png (the theme's x-office-address-book with system-users over its bottom
right corner at 5/8 of its size), as one SVG. Each picture's ids get a prefix of their own so the
two drawings' gradients cannot meet.

    compose_vantrel_svg.py BASE.svg BADGE.svg OUT.svg
"""
import re
import sys
import xml.etree.ElementTree as ET

SVG = "http://www.w3.org/2000/svg"
XLINK = "http://www.w3.org/1999/xlink"
# Editor bookkeeping and licence blocks: none of it is drawn.
DROPPED = ("http://www.inkscape.org/namespaces/inkscape",
           "http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd")
ET.register_namespace("", SVG)
ET.register_namespace("xlink", XLINK)


def namespace(name):
    return name[1:].split("}")[0] if name.startswith("{") else ""


def picture(path, prefix, x, y, size):
    root = ET.parse(path).getroot()

    def clean(element):
        for child in list(element):
            if namespace(child.tag) in DROPPED or child.tag == f"{{{SVG}}}metadata":
                element.remove(child)
            else:
                clean(child)
        for key in list(element.attrib):
            if namespace(key) in DROPPED:
                del element.attrib[key]
            elif key == "id":
                element.attrib[key] = prefix + element.attrib[key]
            else:
                value = element.attrib[key]
                value = re.sub(r"url\(#([^)]+)\)", lambda m: f"url(#{prefix}{m.group(1)})", value)
                if key == f"{{{XLINK}}}href" and value.startswith("#"):
                    value = "#" + prefix + value[1:]
                element.attrib[key] = value

    clean(root)
    width = float(re.sub(r"[a-z]+$", "", root.get("width", "48")))
    height = float(re.sub(r"[a-z]+$", "", root.get("height", "48")))
    nested = ET.Element(f"{{{SVG}}}svg", {
        "x": str(x), "y": str(y), "width": str(size), "height": str(size),
        "viewBox": root.get("viewBox", f"0 0 {width:g} {height:g}")})
    nested.extend(list(root))
    return nested


def main(base, badge, out):
    icon = ET.Element(f"{{{SVG}}}svg", {"width": "48", "height": "48", "viewBox": "0 0 48 48"})
    icon.append(picture(base, "book-", 0, 0, 48))
    icon.append(picture(badge, "users-", 18, 18, 30))
    ET.indent(icon)
    ET.ElementTree(icon).write(out, encoding="UTF-8", xml_declaration=True)


if __name__ == "__main__":
    main(*sys.argv[1:4])
