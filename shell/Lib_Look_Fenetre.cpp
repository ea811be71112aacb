// The look of one window: each control styled by its kind, for the skinned or the plain style.
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QTreeView>

#include "shell/Frm_Main.h"
#include "shell/Lib_Look.h"

namespace Lib_Look {
namespace {

QString rgb(const QColor& c) { return QString("rgb(%1, %2, %3)").arg(c.red()).arg(c.green()).arg(c.blue()); }

QString degrade(const QColor& top, const QColor& bottom) {
    return QString("qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:1 %2)")
        .arg(rgb(top), rgb(bottom));
}

void backgroundColour(QWidget& w, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = w.palette();
    palette.setColor(role, colour);
    w.setPalette(palette);
    if (role == QPalette::Window) w.setAutoFillBackground(true);
}

// Appearance 0: a flat single-line border instead of the sunken one.
void makeFlat(QWidget& w) {
    if (auto* frame = qobject_cast<QFrame*>(&w)) {
        frame->setFrameShape(QFrame::Box);
        frame->setFrameShadow(QFrame::Plain);
        frame->setLineWidth(1);
    }
}

// A box whose background is the system's button shadow (a read-only display) keeps it.
bool buttonShadowBackground(const QWidget& w) {
    return w.palette().isBrushSet(QPalette::Active, QPalette::Base) &&
           w.palette().color(QPalette::Base) == QApplication::palette().color(QPalette::Dark);
}

void myFrameBox(QGroupBox& frame, const QColor& base) {
    frame.setStyleSheet(QString("QGroupBox { background-color: %1; border: 1px solid %2; color: black;"
                                " font: bold 8pt \"Arial\"; margin-top: 1.2em; }"
                                " QGroupBox::title { subcontrol-origin: margin; background: %3; }")
                            .arg(rgb(base), rgb(kDarkGrey), degrade(kLightHeader, kDarkGrey)));
}

void tabWidgets(QTabWidget& tabs, bool skin, const QColor& base) {
    tabs.setCurrentIndex(0);
    tabs.tabBar()->setExpanding(false);
    tabs.setDocumentMode(false);
    QString feuille;
    if (skin) {
        feuille = QString(
                      "QTabBar::tab { background: %1; padding: 3px 10px; }"
                      " QTabBar::tab:selected { background: %2; font-weight: bold; }"
                      " QTabWidget::pane { border: 1px solid %3; }")
                      .arg(degrade(kTabGrey, base), degrade(kActiveTabStart, kActiveTabEnd), rgb(kDarkGrey));
    } else {
        feuille = QString(
                      "QTabBar { font-family: \"Arial\"; }"
                      " QTabBar::tab { padding: 3px 10px; }"
                      " QTabBar::tab:selected { background: %1; color: white; font-weight: bold; }"
                      " QTabWidget::pane { border: 1px solid %1; background: %2; }")
                      .arg(rgb(kDarkGrey), rgb(base));
    }
    tabs.setStyleSheet(feuille);
}

// The inner editor of a combo or spin box is part of that control, not one of the window's.
bool partOfAControl(const QWidget& w) {
    const QWidget* parent = w.parentWidget();
    return parent &&
           (qobject_cast<const QComboBox*>(parent) || qobject_cast<const QAbstractSpinBox*>(parent));
}

void styler(QWidget& w, const std::string& type, bool skin, const QColor& base) {
    if (type == "TreeView" || type == "ListView") {
        if (!skin) return;
        if (type == "ListView") makeFlat(w);
        backgroundColour(w, QPalette::Base, kFieldColour);
        if (type == "TreeView") backgroundColour(w, QPalette::Text, Qt::black);
    } else if (type == "SftTabs") {
        tabWidgets(static_cast<QTabWidget&>(w), skin, base);
    } else if (type == "SftButton") {
        // Both ends of its shading are the main window's own background.
        if (const Frm_Main* mainForm = TheFrm_Main(); skin && mainForm)
            backgroundColour(w, QPalette::Button, mainForm->palette().color(QPalette::Window));
    } else if (type == "CheckBox" || type == "OptionButton") {
        backgroundColour(w, QPalette::Window, base);
    } else if (type == "TextBox") {
        makeFlat(w);
        if (skin && !buttonShadowBackground(w)) backgroundColour(w, QPalette::Base, kFieldColour);
    } else if (type == "ListBox" || type == "ComboBox") {
        makeFlat(w);
        if (skin) backgroundColour(w, QPalette::Base, kFieldColour);
    } else if (type == "Label") {
        auto& label = static_cast<QLabel&>(w);
        if (skin) label.setAutoFillBackground(false);
        if (label.text() == "...") label.clear();
    }
}

}  // namespace

QColor baseColour() {
    return StyleLook == 15 ? QColor(182, 182, 182) : QApplication::palette().color(QPalette::Base);
}

std::string TypeName(const QWidget& c) {
    if (qobject_cast<const QTabWidget*>(&c)) return "SftTabs";
    if (qobject_cast<const QGroupBox*>(&c)) return "MyFrame";
    if (qobject_cast<const QPushButton*>(&c)) return "SftButton";
    if (qobject_cast<const QCheckBox*>(&c)) return "CheckBox";
    if (qobject_cast<const QRadioButton*>(&c)) return "OptionButton";
    if (qobject_cast<const QLineEdit*>(&c) || qobject_cast<const QTextEdit*>(&c) ||
        qobject_cast<const QPlainTextEdit*>(&c))
        return "TextBox";
    if (qobject_cast<const QListWidget*>(&c)) return "ListBox";
    if (qobject_cast<const QTreeView*>(&c)) return "TreeView";
    if (qobject_cast<const QListView*>(&c)) return "ListView";
    if (qobject_cast<const QComboBox*>(&c)) return "ComboBox";
    if (qobject_cast<const QLabel*>(&c)) return "Label";
    return {};
}

void LookFenetre(QWidget& win) {
    const QColor base = baseColour();
    const bool skin = StyleLook == 15;
    const auto controls = win.findChildren<QWidget*>();
    for (QWidget* c : controls)
        if (auto* frame = qobject_cast<QGroupBox*>(c)) myFrameBox(*frame, base);
    for (QWidget* c : controls) {
        if (partOfAControl(*c)) continue;
        styler(*c, TypeName(*c), skin, base);
    }
}

}  // namespace Lib_Look
