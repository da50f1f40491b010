#include "customers/addresscardcommands.h"

#include "customers/addressentry.h"
#include "customers/addressimport.h"
#include "customers/addressimportdlg.h"
#include "customers/addresslist.h"
#include "customers/addressvcard.h"
#include "customers/customerrecords.h"
#include "data/adox.h"
#include "kit/commandids.h"
#include "kit/commandregistry.h"
#include "kit/filechoice.h"
#include "kit/messages.h"
#include "kit/recordlistmodel.h"
#include "views/featurecontext.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <QDir>
#include <QSaveFile>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kVersion3Filter = u"vCard 3.0 文件 (*.vcf)"_s;
const QString kVersion4Filter = u"vCard 4.0 文件 (*.vcf)"_s;

// The record numbers of the entries the main list shows; none when it shows something else.
std::vector<int> ListedEntries(const CVantrelView* view)
{
    std::vector<int> numbers;
    if (!view || view->Category() != CustomerCategory::kAddressBook)
        return numbers;
    const CRecordListModel& list = view->List();
    for (int row = 0; row < list.GetItemCount(); ++row)
        if (int number = -1; list.RecordNumber(row, number))
            numbers.push_back(number);
    return numbers;
}

const QString kNothingListed = u"请先用“查询搜索 > 通讯录”在列表中列出要导出的联系人！"_s;

} // namespace

bool ExportAddressCards(CVantrelDoc& doc, QWidget* window, const QString& path, bool version4)
{
    const std::vector<int> numbers = ListedEntries(doc.MainList());
    if (numbers.empty()) {
        Warn(window, kNothingListed);
        return false;
    }
    std::vector<AddressEntry> entries;
    if (!LoadAddressEntries(doc.Database(), numbers, entries)) {
        Warn(window, u"读取通讯录失败，没有导出！"_s);
        return false;
    }
    const QByteArray bytes =
        WriteAddressCards(entries, version4 ? VCardVersion::V4 : VCardVersion::V3);
    const QString file = QDir::toNativeSeparators(path);
    // Written beside its target and put in place whole: a failure leaves no half file.
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        Warn(window, u"导出失败：无法写入文件“%1”（%2）！"_s.arg(file, out.errorString()));
        return false;
    }
    Inform(window, u"已把 %1 个联系人导出到“%2”。"_s.arg(entries.size()).arg(file));
    return true;
}

bool ImportAddressCards(CVantrelDoc& doc, QWidget* window, const QString& path)
{
    AddressCardsRead read;
    QString error;
    if (!ReadAddressCardFile(path, read, error)) {
        Warn(window, error);
        return false;
    }
    if (read.cards.empty()) {
        Warn(window, (QStringList{u"文件中没有可以导入的名片。"_s} + AddressSkipLines(read.skipped))
                         .join(u'\n'));
        return false;
    }
    CAddressImportDlg dialog(doc.Database(), std::move(read), path, window);
    if (dialog.exec() != QDialog::Accepted || dialog.FirstNo() < 0)
        return false;
    ShowAddressList(
        doc, doc.Database(),
        u"SELECT * FROM [address] WHERE [no] >= %1 AND [no] <= %2 ORDER BY group, user"_s
            .arg(dialog.FirstNo())
            .arg(dialog.LastNo()));
    return true;
}

void RegisterAddressCardCommands(const CFeatureContext& context)
{
    CVantrelDoc& doc = context.doc;
    QWidget* window = context.window;
    // The folder of the last card file, for the next one in this run.
    auto folder = NewLastFolder();
    context.commands.SetHandler(ID_MANAGE_ADDRESS_EXPORT, [&doc, window, folder] {
        if (ListedEntries(doc.MainList()).empty()) {
            Warn(window, kNothingListed);
            return;
        }
        FileChoice choice;
        choice.kind = FileChoice::Kind::Save;
        choice.objectName = u"chooseCardFile"_s;
        choice.caption = u"导出通讯录"_s;
        choice.filters = {kVersion3Filter, kVersion4Filter};
        choice.fileName = u"通讯录"_s;
        choice.lastFolder = folder;
        QString filter;
        const QString path = ChooseFile(window, choice, &filter);
        if (!path.isEmpty())
            ExportAddressCards(doc, window, path, filter == kVersion4Filter);
    });
    context.commands.SetHandler(ID_MANAGE_ADDRESS_IMPORT, [&doc, window, folder] {
        if (!DatabaseHasTable(doc.Database(), u"group"_s)) {
            Warn(window, u"请先升级数据库！"_s);
            return;
        }
        FileChoice choice;
        choice.objectName = u"chooseCardFile"_s;
        choice.caption = u"导入通讯录"_s;
        choice.filters = {u"vCard 文件 (*.vcf *.vcard)"_s, u"所有文件 (*)"_s};
        choice.readOnly = true;
        choice.lastFolder = folder;
        const QString path = ChooseFile(window, choice);
        if (!path.isEmpty())
            ImportAddressCards(doc, window, path);
    });
}
