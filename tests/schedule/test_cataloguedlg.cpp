#include "kit/appcontext.h"
#include "kit/commandids.h"
#include "schedule/cataloguefixture.h"
#include "schedule/schedulecommands.h"
#include "support/featurecommands.h"
#include "support/modal.h"
#include "views/featurecontext.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

using CatalogueDlgTest = CatalogueTest;

TEST_F(CatalogueDlgTest, ListsItemsAndSortsThemByTheBytesOfAColumn)
{
    m_file.Exec(u"INSERT INTO material (no, number, name, client) VALUES "
                "(1, '9', '铜线', '乙厂'), (2, '10', '钢板', '甲厂'), (3, 'A1', '铝锭', '丙厂'),"
                "(4, 'B', '钢板', NULL)"_s);
    Open();
    EXPECT_EQ(m_dialog->windowTitle(), u"原料管理"_s);
    QTableView* list = m_dialog->ItemList();
    ASSERT_EQ(list->model()->columnCount(), 4);
    EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal).toString(), u"编号"_s);
    EXPECT_EQ(list->model()->headerData(2, Qt::Horizontal).toString(), u"所属企业"_s);
    EXPECT_EQ(list->columnWidth(1), 150);
    EXPECT_TRUE(list->isColumnHidden(3));
    EXPECT_EQ(list->model()->index(0, 3).data().toString(), u"2"_s);
    EXPECT_EQ(ItemColumn(0), QStringList({u"10"_s, u"9"_s, u"A1"_s, u"B"_s}));
    EXPECT_TRUE(m_dialog->Status().isEmpty());

    ClickItem(2); // 铝锭 stays selected through every sort
    ClickSort(u"IDC_SORT_NAME"_s);
    // 钢 (B8D6) < 铝 (C2C1) < 铜 (CDAD) in the code page; equal names keep their order.
    EXPECT_EQ(ItemColumn(1), QStringList({u"钢板"_s, u"钢板"_s, u"铝锭"_s, u"铜线"_s}));
    EXPECT_EQ(ItemColumn(0), QStringList({u"10"_s, u"B"_s, u"A1"_s, u"9"_s}));
    ClickSort(u"IDC_SORT_CLIENT"_s);
    EXPECT_EQ(ItemColumn(2), QStringList({QString(), u"丙厂"_s, u"甲厂"_s, u"乙厂"_s}));
    ClickSort(u"IDC_SORT_NUMBER"_s);
    EXPECT_EQ(ItemColumn(0), QStringList({u"10"_s, u"9"_s, u"A1"_s, u"B"_s}));
    EXPECT_EQ(list->selectionModel()->selectedRows().value(0).row(), 2);
    EXPECT_EQ(m_dialog->Items().At(2).no, 3);
}

TEST_F(CatalogueDlgTest, ProductsHaveNoEnterprise)
{
    m_file.Exec(
        u"INSERT INTO product (no, number, name, price) VALUES (7, 'P1', '轴承', '12.5')"_s);
    Open<CProductDlg>();
    EXPECT_EQ(m_dialog->windowTitle(), u"产品管理"_s);
    EXPECT_EQ(m_dialog->ItemList()->model()->columnCount(), 3);
    EXPECT_EQ(m_dialog->Control(u"client"_s), nullptr);
    EXPECT_EQ(m_dialog->findChild<QAbstractButton*>(u"IDC_SORT_CLIENT"_s), nullptr);
    EXPECT_EQ(Find<QAbstractButton>(*m_dialog, u"IDC_SORT_NAME"_s)->text(), u"按名称"_s);

    ClickItem(0);
    EXPECT_EQ(Find<QLineEdit>(*m_dialog, u"IDC_PRICE"_s)->text(), u"12.5"_s);
    Type(u"name"_s, u"轴承"_s);
    Click(*m_dialog, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({u"产品名称已经存在，是否要重复添加？"_s}));
    EXPECT_EQ(Count(u"product WHERE name = '轴承'"_s), 2);
    EXPECT_EQ(Count(u"material"_s), 0);
}

TEST_F(CatalogueDlgTest, AddAsksBeforeRepeatingANameAndStoresNamesAsTyped)
{
    Open();
    Type(u"name"_s, u"O'Neil's \"钢\" [板]"_s);
    Type(u"number"_s, u"G-01"_s);
    Type(u"price"_s, u"3.5元/kg"_s);
    Type(u"client"_s, u"甲厂"_s);
    Type(u"property"_s, u"冷轧\n1.2mm"_s);
    Click(*m_dialog, u"IDOK"_s);
    EXPECT_EQ(m_dialog->Status(), u"添加成功！"_s);
    EXPECT_TRUE(m_messages.Texts().isEmpty());
    EXPECT_EQ(Value(u"SELECT property FROM material"_s), u"冷轧\n1.2mm"_s);
    EXPECT_EQ(Value(u"SELECT remark IS NULL FROM material"_s), u"1"_s);
    const QString no = Value(u"SELECT no FROM material"_s);
    ASSERT_EQ(m_dialog->Items().Count(), 1);
    EXPECT_EQ(QString::number(m_dialog->Items().At(0).no), no);
    EXPECT_EQ(ItemColumn(2), QStringList({u"甲厂"_s}));

    // The same name again: No changes nothing, Yes stores a second row.
    m_messages.AnswerNext(false);
    Click(*m_dialog, u"IDOK"_s);
    ASSERT_EQ(m_messages.Messages().size(), 1u);
    EXPECT_EQ(m_messages.Messages()[0].text, u"原材料名称已经存在，是否要重复添加？"_s);
    EXPECT_EQ(m_messages.Messages()[0].caption, u"重复"_s);
    EXPECT_EQ(Count(u"material"_s), 1);
    m_messages.AnswerNext(true);
    Click(*m_dialog, u"IDOK"_s);
    EXPECT_EQ(Count(u"material WHERE name = 'O''Neil''s \"钢\" [板]'"_s), 2);
    EXPECT_EQ(m_dialog->Items().Count(), 2);
    EXPECT_EQ(m_dialog->Status(), u"添加成功！"_s);
}

TEST_F(CatalogueDlgTest, ModifyChecksOtherItemsOnly)
{
    m_file.Exec(
        u"INSERT INTO material (no, number, name) VALUES (1, 'A', '铜线'), (2, 'B', '钢板')"_s);
    Open();
    Click(*m_dialog, u"IDC_MODIFY"_s);
    EXPECT_EQ(m_dialog->Status(), u"请先从左侧列表中选择一条要修改的记录！"_s);

    ClickItem(0);
    EXPECT_EQ(Find<QLineEdit>(*m_dialog, u"IDC_NAME"_s)->text(), u"铜线"_s);
    Type(u"number"_s, u"A-2"_s);
    Type(u"remark"_s, u"常备"_s);
    Click(*m_dialog, u"IDC_MODIFY"_s);
    EXPECT_TRUE(m_messages.Texts().isEmpty()); // its own name asks nothing
    EXPECT_EQ(m_dialog->Status(), u"修改成功！"_s);
    EXPECT_EQ(Value(u"SELECT number || remark FROM material WHERE no = 1"_s), u"A-2常备"_s);
    EXPECT_EQ(ItemColumn(0), QStringList({u"A-2"_s, u"B"_s}));

    Type(u"name"_s, u"钢板"_s);
    m_messages.AnswerNext(false);
    Click(*m_dialog, u"IDC_MODIFY"_s);
    EXPECT_EQ(m_messages.LastText(), u"原材料名称已经存在，是否要重复添加？"_s);
    EXPECT_EQ(Value(u"SELECT name FROM material WHERE no = 1"_s), u"铜线"_s);

    // Another workstation deleted the item meanwhile.
    m_file.Exec(u"DELETE FROM material WHERE no = 1"_s);
    Type(u"name"_s, u"铜线"_s);
    Click(*m_dialog, u"IDC_MODIFY"_s);
    EXPECT_EQ(m_dialog->Status(), u"没有找到要修改的记录！"_s);
    ClickItem(1);
    ClickItem(0);
    EXPECT_EQ(m_dialog->Status(), u"没有找到指定的原材料！"_s);
}

TEST_F(CatalogueDlgTest, DeleteTakesThePictureRowsAlongAndShowsTheNextItemInFull)
{
    m_file.Exec(
        u"INSERT INTO material (no, number, name) VALUES (1, 'A', '铜线'), (2, 'B', '钢板'),"
        "(3, 'C', '铝锭');"
        "INSERT INTO materialimage (id, path) VALUES (1, 'a.png'), (1, 'b.png'),"
        "(1, 'c.png'), (2, 'd.png'), (2, 'e.png'), (3, 'f.png')"_s);
    Picture(u"a.png"_s);
    Open();
    Click(*m_dialog, u"IDC_DELETE"_s);
    EXPECT_EQ(m_dialog->Status(), u"请先从左侧列表中选择一条要删除的记录！"_s);

    // The item's own delete fails at the last step: every picture row is still there.
    m_file.Exec(u"CREATE TRIGGER keep BEFORE DELETE ON material "
                "BEGIN SELECT RAISE(ABORT, 'kept'); END"_s);
    ClickItem(0);
    EXPECT_EQ(PicturePaths(), QStringList({u"a.png"_s, u"b.png"_s, u"c.png"_s}));
    Click(*m_dialog, u"IDC_DELETE"_s);
    ASSERT_EQ(m_messages.Messages().size(), 1u);
    EXPECT_EQ(m_messages.Messages()[0].text,
              u"删除操作将会删除其基本资料及所属图片路径资料，您是否确定要删除？"_s);
    EXPECT_EQ(m_messages.Messages()[0].caption, u"警告"_s);
    EXPECT_EQ(m_dialog->Status(), u"记录无法删除，删除失败！"_s);
    EXPECT_EQ(Count(u"materialimage WHERE id = 1"_s), 3);
    EXPECT_EQ(Count(u"material"_s), 3);
    EXPECT_EQ(m_dialog->Items().Count(), 3);

    m_file.Exec(u"DROP TRIGGER keep"_s);
    m_messages.AnswerNext(false);
    Click(*m_dialog, u"IDC_DELETE"_s);
    EXPECT_EQ(Count(u"material"_s), 3);
    ClickPicture(0);
    ASSERT_TRUE(m_dialog->Frame()->Picture().IsLoaded());
    Click(*m_dialog, u"IDC_DELETE"_s);
    EXPECT_EQ(m_dialog->Status(), u"删除成功！"_s);
    EXPECT_EQ(Count(u"material"_s), 2);
    EXPECT_EQ(Count(u"materialimage"_s), 3);
    EXPECT_EQ(ItemColumn(1), QStringList({u"钢板"_s, u"铝锭"_s}));
    EXPECT_FALSE(m_dialog->Frame()->Picture().IsLoaded());
    EXPECT_TRUE(m_dialog->ShownPath().isEmpty());

    // The item that takes its place is chosen: its fields and its own pictures.
    const auto selected = [this] {
        return m_dialog->ItemList()->selectionModel()->selectedRows().value(0).row();
    };
    const auto shownName = [this] { return Find<QLineEdit>(*m_dialog, u"IDC_NAME"_s)->text(); };
    EXPECT_EQ(selected(), 0);
    EXPECT_EQ(shownName(), u"钢板"_s);
    EXPECT_EQ(PicturePaths(), QStringList({u"d.png"_s, u"e.png"_s}));

    // The last item deleted: the one before it.
    ClickItem(1);
    Click(*m_dialog, u"IDC_DELETE"_s);
    EXPECT_EQ(ItemColumn(1), QStringList({u"钢板"_s}));
    EXPECT_EQ(selected(), 0);
    EXPECT_EQ(shownName(), u"钢板"_s);
    EXPECT_EQ(PicturePaths(), QStringList({u"d.png"_s, u"e.png"_s}));
    EXPECT_EQ(Count(u"materialimage"_s), 2);
}

TEST_F(CatalogueDlgTest, ListsShowTheirValuesUncutAndFitTheirBoxes)
{
    const QString number = u"GB/T 2521-2026-B35A300"_s;
    const QString name = u"冷轧无取向电工钢带（宽幅）"_s;
    const QString client = u"华东特种金属材料进出口贸易有限公司"_s;
    const QString path = u"供应商样品/二〇二六年/冷轧电工钢带正面.png"_s;
    Picture(path);
    m_file.Exec(
        u"INSERT INTO material (no, number, name, client) VALUES (1, '%1', '%2', '%3'),"
        "(2, 'A', '铜线', NULL); INSERT INTO materialimage (id, path) VALUES (1, '%4')"_s.arg(
            number, name, client, path));
    Open();
    ClickItem(1); // after 'A'
    CCataloguePictureList* pictures = m_dialog->PictureList();
    ASSERT_TRUE(pictures->WaitForThumbnails(5000));
    // At the smallest size the dialog lets the user make it.
    QCoreApplication::processEvents();
    m_dialog->resize(m_dialog->minimumSize());
    QCoreApplication::processEvents();

    const auto fitsItsBox = [](const QTableView* list) {
        int columns = 0;
        for (int column = 0; column < list->model()->columnCount(); ++column)
            columns += list->isColumnHidden(column) ? 0 : list->columnWidth(column);
        return columns <= list->viewport()->width();
    };
    QTableView* items = m_dialog->ItemList();
    const QFontMetrics metrics = items->fontMetrics();
    EXPECT_GT(items->columnWidth(0), metrics.horizontalAdvance(number));
    EXPECT_GT(items->columnWidth(1), metrics.horizontalAdvance(name));
    EXPECT_GT(items->columnWidth(2), metrics.horizontalAdvance(client));
    EXPECT_TRUE(fitsItsBox(items));
    EXPECT_GT(pictures->columnWidth(0),
              pictures->iconSize().width() + metrics.horizontalAdvance(path));
    EXPECT_TRUE(fitsItsBox(pictures));

    // A longer name typed later widens its column too.
    const QString longer = name + u"，含绝缘涂层"_s;
    Type(u"name"_s, longer);
    Click(*m_dialog, u"IDC_MODIFY"_s);
    EXPECT_EQ(m_dialog->Status(), u"修改成功！"_s);
    QCoreApplication::processEvents();
    EXPECT_GT(items->columnWidth(1), metrics.horizontalAdvance(longer));
    EXPECT_TRUE(fitsItsBox(items));
}

TEST_F(CatalogueDlgTest, MissingTablesAskForAnUpgrade)
{
    m_file.Exec(u"DROP TABLE material; DROP TABLE productimage"_s);
    Open();
    EXPECT_EQ(m_dialog->Status(), u"原材料表无法打开，请先升级数据库！"_s);
    Click(*m_dialog, u"IDOK"_s);
    EXPECT_EQ(m_dialog->Status(), u"原材料表无法打开，请先升级数据库！"_s);

    m_file.Exec(u"INSERT INTO product (no, number, name) VALUES (1, 'P', '轴承')"_s);
    Open<CProductDlg>();
    ClickItem(0);
    EXPECT_EQ(m_dialog->Status(), u"产品图片表还未建立，请先升级数据库！"_s);
    m_chosen = {Picture(u"p.png"_s)};
    Click(*m_dialog, u"IDC_ADDPICTURE"_s);
    EXPECT_EQ(m_messages.LastText(), u"产品图片表还未建立，请先升级数据库！"_s);
}

TEST_F(CatalogueDlgTest, MenuCommandsOpenBothCatalogues)
{
    CAppContext app;
    app.SetPicturePath(m_home);
    FeatureCommands commands;
    RegisterScheduleCommands(CFeatureContext{app, m_doc, commands, &m_window});
    {
        ModalDriver<CMaterialDlg> driver(
            [](CMaterialDlg& dialog) { EXPECT_EQ(dialog.windowTitle(), u"原料管理"_s); });
        commands.Run(ID_MANAGE_MATERIAL);
    }
    {
        ModalDriver<CProductDlg> driver(
            [](CProductDlg& dialog) { EXPECT_EQ(dialog.windowTitle(), u"产品管理"_s); });
        commands.Run(ID_MANAGE_PRODUCT);
    }
}

} // namespace
