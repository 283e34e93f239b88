#pragma once

#include "authoring/font_colour.h"

#include <QDialog>

class QComboBox;
class QFontComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;
class TColorSelector;

// Asks the name of a new font preset; refuses an empty name or one already used.
class TFontNom : public QDialog {
    Q_OBJECT
public:
    TFontNom(const Authoring::FontPresetList &presets, QWidget *parent = nullptr);
    QString name() const;
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    const Authoring::FontPresetList &m_presets;
    QLineEdit *m_name;
};

// The font preset dialog. It edits a copy of the ten slots; every change is stored
// in the shown slot at once, and the caller takes the slots back when it closes.
class TFont_Boite : public QDialog {
    Q_OBJECT
public:
    explicit TFont_Boite(QWidget *parent = nullptr);

    void setPresets(const Authoring::FontPresetList::Slots &presets, int selected);
    const Authoring::FontPresetList::Slots &presets() const { return m_list.presets(); }
    // The preset shown in the list; the first slot when there is none.
    int shownPreset() const;

private:
    void refreshNames(int show);
    void showPreset(int index);
    void updateEnabled();
    void newPreset();
    void deletePreset();
    void addFace();
    void deleteFace();
    void moveFace(int delta);
    void storeFaces(int selectRow);
    void sizeChosen(int row);
    void colourTyped(const QString &text);
    void colourChosen(const Authoring::Rgb &colour);

    bool eventFilter(QObject *watched, QEvent *event) override;

    Authoring::FontPresetList m_list;
    int m_shown = -1;
    bool m_loading = false;

    QComboBox *m_names;
    QPushButton *m_new;
    QPushButton *m_delete;
    QListWidget *m_faces;
    QToolButton *m_up;
    QToolButton *m_down;
    QPushButton *m_deleteFace;
    QFontComboBox *m_fonts;
    QPushButton *m_addFace;
    QComboBox *m_size;
    QLineEdit *m_colour;
    TColorSelector *m_selector;
    QPushButton *m_close;
};
