#pragma once

#include "authoring/form_markup.h"
#include "authoring/ui/form_control_box.h"

#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

// The dialogs of the form commands. Each is created for one use and only gathers
// values; the command writes the markup.

// "Feuille de formulaire": the form itself.
class TFormulaire_Boite : public FormControlBox {
    Q_OBJECT
public:
    explicit TFormulaire_Boite(QWidget *parent = nullptr);
    Authoring::FormValues values() const;

protected:
    bool nameRequired() const override { return false; }

private:
    void recipientChosen(Authoring::Recipient recipient);

    QRadioButton *m_recipients[5];
    QLineEdit *m_action;
    QGroupBox *m_method;
    QRadioButton *m_get;
    QRadioButton *m_post;
    QGroupBox *m_encoding;
    QRadioButton *m_mime;
    QRadioButton *m_text;
    QGroupBox *m_targetGroup;
    QComboBox *m_target;
};

// Radio buttons and check boxes: an item list with check boxes.
class ChoiceGroupBox : public FormControlBox {
    Q_OBJECT
public:
    Authoring::ChoiceGroupValues values() const;

protected:
    ChoiceGroupBox(Authoring::ChoiceKind kind, const QString &objectName, const QString &title,
                   std::function<void()> help, QWidget *parent);
    bool nameRequired() const override { return m_items->items().count() > 0; }

private:
    ItemListEditor *m_items;
    QCheckBox *m_lineBreaks;
};

class TForm_Radio_Boite : public ChoiceGroupBox {
    Q_OBJECT
public:
    explicit TForm_Radio_Boite(QWidget *parent = nullptr);
};

class TForm_Check_Boite : public ChoiceGroupBox {
    Q_OBJECT
public:
    explicit TForm_Check_Boite(QWidget *parent = nullptr);
};

// "Boîte liste déroulante": items and the one shown first.
class TForm_Combo_Boite : public FormControlBox {
    Q_OBJECT
public:
    explicit TForm_Combo_Boite(QWidget *parent = nullptr);
    Authoring::DropDownValues values() const;

protected:
    bool nameRequired() const override { return m_items->items().count() > 0; }

private:
    void itemsChanged();

    ItemListEditor *m_items;
    QComboBox *m_default;
};

// "Boîte liste": items, visible lines and multiple selection.
class TForm_ListBox_Boite : public FormControlBox {
    Q_OBJECT
public:
    explicit TForm_ListBox_Boite(QWidget *parent = nullptr);
    Authoring::ListBoxValues values() const;

protected:
    bool nameRequired() const override { return m_items->items().count() > 0; }

private:
    ItemListEditor *m_items;
    QLineEdit *m_lines;
    QCheckBox *m_multiple;
};

// One-line text and password fields.
class TForm_edit_Boite : public FormControlBox {
    Q_OBJECT
public:
    explicit TForm_edit_Boite(QWidget *parent = nullptr);
    Authoring::TextFieldValues values() const;

private:
    QLineEdit *m_value;
    QLineEdit *m_size;
    QLineEdit *m_maxLength;
};

class TForm_pass_Boite : public FormControlBox {
    Q_OBJECT
public:
    explicit TForm_pass_Boite(QWidget *parent = nullptr);
    Authoring::TextFieldValues values() const;

private:
    QLineEdit *m_value;
    QLineEdit *m_size;
    QLineEdit *m_maxLength;
};

class TForm_Memo_Boite : public FormControlBox {
    Q_OBJECT
public:
    explicit TForm_Memo_Boite(QWidget *parent = nullptr);
    Authoring::TextAreaValues values() const;

private:
    QLineEdit *m_rows;
    QLineEdit *m_columns;
    QComboBox *m_wrap;
    QPlainTextEdit *m_memo;
};

// "Bouton": standard, submit or reset, chosen by the command.
class TBoite_Bouton : public FormControlBox {
    Q_OBJECT
public:
    explicit TBoite_Bouton(QWidget *parent = nullptr);
    void setType(Authoring::ButtonType type);
    Authoring::ButtonValues values() const;

protected:
    bool nameRequired() const override { return false; }

private:
    QRadioButton *m_types[3];
    QLineEdit *m_text;
};

class TFormParcBoite : public FormControlBox {
    Q_OBJECT
public:
    explicit TFormParcBoite(QWidget *parent = nullptr);
    Authoring::FileFieldValues values() const;

private:
    QLineEdit *m_size;
};

class TBoite_Hidden : public FormControlBox {
    Q_OBJECT
public:
    explicit TBoite_Hidden(QWidget *parent = nullptr);
    Authoring::HiddenFieldValues values() const;

private:
    QLineEdit *m_value;
};

class TBoite_FormImage : public FormControlBox {
    Q_OBJECT
public:
    // Asks for a picture and returns its address as written into the document
    // (empty when cancelled).
    using Browser = std::function<QString()>;

    explicit TBoite_FormImage(QWidget *parent = nullptr);
    void setBrowser(Browser browser) { m_browser = std::move(browser); }
    Authoring::ImageButtonValues values() const;

private:
    void browse();

    QLineEdit *m_source;
    Browser m_browser;
};
