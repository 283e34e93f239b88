#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Forms and their controls: the item list their dialogs edit, the required-name rule
// and the markup written from each dialog's values. Every builder returns text to be
// inserted raw: element and attribute names already have the tag case, while names,
// values, labels and initial texts are written as typed (values escaped).
namespace Authoring {

// The message shown when OK is pressed without a required name.
QString MissingNameMessage();

// True when the name, once its spaces are removed, is empty while one is required.
bool NameMissing(const QString &typedName, bool required);

// The items of the radio, check box, drop-down and list dialogs, in insertion order,
// with a check state each, the selected row and the drop-down's default choice.
// With a single check, checking one item unchecks the one checked before.
class ItemList {
public:
    struct Item {
        QString text;
        bool checked = false;
        friend bool operator==(const Item &, const Item &) = default;
    };

    explicit ItemList(bool singleCheck = false) : m_singleCheck(singleCheck) {}

    const QList<Item> &items() const { return m_items; }
    QStringList texts() const;
    int count() const { return int(m_items.size()); }

    // The selected row, -1 for none.
    int current() const { return m_current; }
    void setCurrent(int row);

    // The row chosen as the default selection, -1 for none. It follows its item
    // through moves and is cleared when that item is deleted.
    int defaultChoice() const { return m_default; }
    void setDefaultChoice(int row);

    // Appends an item (an empty text is refused); it becomes the selected row.
    bool add(const QString &text, bool checked);
    // Deletes the selected item; the row that takes its place becomes selected.
    bool removeCurrent();
    bool canMoveUp() const { return m_current > 0; }
    bool canMoveDown() const { return m_current >= 0 && m_current < count() - 1; }
    // Swaps the selected item (with its check state) with its neighbour; it stays
    // selected.
    bool moveUp();
    bool moveDown();
    void setChecked(int row, bool checked);
    void clear();

private:
    void swap(int a, int b);

    bool m_singleCheck;
    QList<Item> m_items;
    int m_current = -1;
    int m_default = -1;
};

// Text to be put around the selection.
struct WrapMarkup {
    QString opening;
    QString closing;
    friend bool operator==(const WrapMarkup &, const WrapMarkup &) = default;
};

// The form dialog.
enum class Recipient { None, Http, Ftp, Mail, News };
enum class SendMethod { Default, Get, Post };
enum class FormEncoding { Default, Mime, Text };

// The example address a recipient type puts into the action field ("" for none).
QString RecipientExample(Recipient recipient);

struct FormValues {
    QString name;
    Recipient recipient = Recipient::Http;
    QString action;
    SendMethod method = SendMethod::Default;
    FormEncoding encoding = FormEncoding::Default;
    QString target;
};
WrapMarkup BuildFormMarkup(const FormValues &values, bool casse);

// Radio buttons and check boxes: one input per item, all inserted together.
enum class ChoiceKind { Radio, CheckBox };
struct ChoiceGroupValues {
    QString name;
    QList<ItemList::Item> items;
    bool lineBreaks = true;
};
// Empty when there are no items.
QString BuildChoiceGroupMarkup(ChoiceKind kind, const ChoiceGroupValues &values, bool xhtml,
                               bool casse);

struct DropDownValues {
    QString name;
    QStringList items;
    int selected = -1; // the default choice, -1 for none
};
QString BuildDropDownMarkup(const DropDownValues &values, bool xhtml, bool casse);

struct ListBoxValues {
    QString name;
    QStringList items;
    QString lines = QStringLiteral("3");
    bool multiple = false;
};
QString BuildListBoxMarkup(const ListBoxValues &values, bool xhtml, bool casse);

// One-line text and password fields.
struct TextFieldValues {
    QString name;
    QString size;
    QString maxLength;
    QString value;
};
QString BuildTextFieldMarkup(const TextFieldValues &values, bool xhtml, bool casse);
// The password's value attribute is written even when empty.
QString BuildPasswordMarkup(const TextFieldValues &values, bool xhtml, bool casse);

enum class TextAreaWrap { Default, Off, Physical, Virtual };
struct TextAreaValues {
    QString name;
    QString rows = QStringLiteral("2");
    QString columns = QStringLiteral("40");
    TextAreaWrap wrap = TextAreaWrap::Default;
    QStringList lines; // the initial text
};
WrapMarkup BuildTextAreaMarkup(const TextAreaValues &values, bool casse);
// The lines of a multi-line field's plain text ("" has none; a final break adds none).
QStringList TextLines(const QString &plainText);

enum class ButtonType { Standard, Submit, Reset };
struct ButtonValues {
    ButtonType type = ButtonType::Standard;
    QString name;
    QString text;
};
QString BuildButtonMarkup(const ButtonValues &values, bool xhtml, bool casse);

struct FileFieldValues {
    QString name;
    QString size;
};
QString BuildFileFieldMarkup(const FileFieldValues &values, bool xhtml, bool casse);

struct HiddenFieldValues {
    QString name;
    QString value;
};
QString BuildHiddenFieldMarkup(const HiddenFieldValues &values, bool xhtml, bool casse);

struct ImageButtonValues {
    QString name;
    QString source;
};
QString BuildImageButtonMarkup(const ImageButtonValues &values, bool xhtml, bool casse);

} // namespace Authoring
