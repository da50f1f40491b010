#!/usr/bin/env bash
# Builds src/res/icons/*.png and src/res/icons.qrc from Debian's tango-icon-theme (public domain).
# Development tool only: its output is committed and the program reads nothing from the theme.
# Needs: tango-icon-theme, librsvg2-bin (rsvg-convert), imagemagick, python3.
#   tools/make_icons.sh
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")/.."

theme=/usr/share/icons/Tango
out=src/res/icons
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

# Scalable source of a theme icon: svg_of NAME -> path
svg_of() {
    local found
    found=$(find "$theme/scalable" -name "$1.svg" | head -n 1)
    [ -n "$found" ] || { echo "no scalable $1 in the theme" >&2; exit 1; }
    echo "$found"
}

# Pixels of a theme icon at one size: the theme's own hand-drawn bitmap where it has one
# (16 and 32), else a rendering of its scalable drawing.
render() { # NAME SIZE TARGET
    local bitmap=
    if [ -d "$theme/${2}x${2}" ]; then
        bitmap=$(find "$theme/${2}x${2}" -name "$1.png" | head -n 1)
    fi
    if [ -n "$bitmap" ]; then
        cp "$bitmap" "$3"
    else
        rsvg-convert -w "$2" -h "$2" "$(svg_of "$1")" -o "$3"
    fi
}

# Plain theme icon under our name, at 16, 32 and 64 (the 64 is the 32's high-DPI form).
plain() { # OUR_NAME THEME_NAME
    local size
    for size in 16 32 64; do
        render "$2" "$size" "$out/$1-$size.png"
    done
}

# Theme icon without some of its parts (the "new" sparkle), rendered from its drawing.
stripped() { # OUR_NAME THEME_NAME ID...
    local name=$1 source=$2 size
    shift 2
    python3 tools/svg_strip.py "$(svg_of "$source")" "$work/$name.svg" "$@"
    for size in 16 32 64; do
        rsvg-convert -w "$size" -h "$size" "$work/$name.svg" -o "$out/$name-$size.png"
    done
}

# Theme icon with a smaller theme icon laid over one corner (gravity: NorthEast, SouthEast...).
badged() { # OUR_NAME BASE BADGE GRAVITY
    local size badge
    for size in 16 32 64; do
        render "$2" "$size" "$work/base.png"
        badge=$((size * 5 / 8))
        rsvg-convert -w "$badge" -h "$badge" "$(svg_of "$3")" -o "$work/badge.png"
        convert "$work/base.png" "$work/badge.png" -gravity "$4" -composite \
            -define png:exclude-chunks=date,time "PNG32:$out/$1-$size.png"
    done
}

# Navigation bar, positions 0 to 18 of the frame's icon list.
stripped contact contact-new path12511           # 0  联系人
plain appointment office-calendar                # 1  约会
plain note accessories-text-editor               # 2  便笺
stripped reminder appointment-new path12511      # 3  提醒
plain find system-search                         # 4  查找
plain export document-save-as                    # 5  导出
badged purchase package-x-generic go-down NorthEast # 6 采购: goods come in
badged sale package-x-generic go-up NorthEast    # 7  销售: goods go out
plain help help-browser                          # 8  帮助
plain about dialog-information                    # 9  关于
plain website internet-web-browser               # 10 访问我站
plain mail mail-message-new                      # 11 给我来信
plain exit system-log-out                        # 12 退出
plain client system-users                        # 13 客户
badged postcode internet-mail gnome-globe SouthEast # 14 邮编区号, 常用电话
plain addressbook x-office-address-book          # 15 通讯录
plain settings preferences-system                # 16 分类属性, 权限分配, 修改密码, 设置
plain statistics x-office-spreadsheet            # 17 统计
plain catalogue package-x-generic                # 18 原材料资料, 产品资料

# Rows of the record lists: any record, a settled order, a dependent record (an open order
# shows the reminder clock).
plain record text-x-generic
for size in 16 32 64; do
    rsvg-convert -w "$size" -h "$size" tools/icons/tick.svg -o "$out/settled-$size.png"
done
plain detail x-office-document

# The program's own icon: its clients and their orders.
for size in 16 32 48 64 128; do
    rsvg-convert -w "$size" -h "$size" "$(svg_of x-office-address-book)" -o "$work/base.png"
    badge=$((size * 5 / 8))
    rsvg-convert -w "$badge" -h "$badge" "$(svg_of system-users)" -o "$work/badge.png"
    convert "$work/base.png" "$work/badge.png" -gravity SouthEast -composite \
        -define png:exclude-chunks=date,time "PNG32:$out/vantrel-$size.png"
done
# The same drawing, scalable, for the desktop's icon theme (installed by the package).
python3 tools/icons/compose_vantrel_svg.py "$(svg_of x-office-address-book)" \
    "$(svg_of system-users)" packaging/vantrel.svg

# Keep the files small and free of time stamps so a rerun changes nothing.
for file in "$out"/*.png; do
    convert "$file" -strip -define png:exclude-chunks=date,time "PNG32:$file"
done
# The resource list the program is built with (src/res/icons.qrc).
{
    echo '<!DOCTYPE RCC>'
    echo '<RCC version="1.0">'
    echo '    <qresource prefix="/">'
    for file in "$out"/*.png; do
        echo "        <file>icons/$(basename "$file")</file>"
    done
    echo '    </qresource>'
    echo '</RCC>'
} >src/res/icons.qrc
echo "icons written to $out, resource list to src/res/icons.qrc"
