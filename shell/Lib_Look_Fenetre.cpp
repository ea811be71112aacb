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

QString degrade(const QColor& haut, const QColor& bas) {
    return QString("qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:1 %2)").arg(rgb(haut), rgb(bas));
}

void couleurFond(QWidget& w, QPalette::ColorRole role, const QColor& couleur) {
    QPalette palette = w.palette();
    palette.setColor(role, couleur);
    w.setPalette(palette);
    if (role == QPalette::Window) w.setAutoFillBackground(true);
}

// Appearance 0: a flat single-line border instead of the sunken one.
void plat(QWidget& w) {
    if (auto* cadre = qobject_cast<QFrame*>(&w)) {
        cadre->setFrameShape(QFrame::Box);
        cadre->setFrameShadow(QFrame::Plain);
        cadre->setLineWidth(1);
    }
}

// A box whose background is the system's button shadow (a read-only display) keeps it.
bool fondOmbreBouton(const QWidget& w) {
    return w.palette().isBrushSet(QPalette::Active, QPalette::Base) &&
           w.palette().color(QPalette::Base) == QApplication::palette().color(QPalette::Dark);
}

void cadreMyFrame(QGroupBox& cadre, const QColor& base) {
    cadre.setStyleSheet(QString("QGroupBox { background-color: %1; border: 1px solid %2; color: black;"
                                " font: bold 8pt \"Arial\"; margin-top: 1.2em; }"
                                " QGroupBox::title { subcontrol-origin: margin; background: %3; }")
                            .arg(rgb(base), rgb(kGrisFonce), degrade(kEnteteClair, kGrisFonce)));
}

void onglets(QTabWidget& tabs, bool skin, const QColor& base) {
    tabs.setCurrentIndex(0);
    tabs.tabBar()->setExpanding(false);
    tabs.setDocumentMode(false);
    QString feuille;
    if (skin) {
        feuille = QString("QTabBar::tab { background: %1; padding: 3px 10px; }"
                          " QTabBar::tab:selected { background: %2; font-weight: bold; }"
                          " QTabWidget::pane { border: 1px solid %3; }")
                      .arg(degrade(kGrisOnglet, base), degrade(kOngletActifDebut, kOngletActifFin),
                           rgb(kGrisFonce));
    } else {
        feuille = QString("QTabBar { font-family: \"Arial\"; }"
                          " QTabBar::tab { padding: 3px 10px; }"
                          " QTabBar::tab:selected { background: %1; color: white; font-weight: bold; }"
                          " QTabWidget::pane { border: 1px solid %1; background: %2; }")
                      .arg(rgb(kGrisFonce), rgb(base));
    }
    tabs.setStyleSheet(feuille);
}

// The inner editor of a combo or spin box is part of that control, not one of the window's.
bool partieDUnControle(const QWidget& w) {
    const QWidget* parent = w.parentWidget();
    return parent && (qobject_cast<const QComboBox*>(parent) || qobject_cast<const QAbstractSpinBox*>(parent));
}

void styler(QWidget& w, const std::string& type, bool skin, const QColor& base) {
    if (type == "TreeView" || type == "ListView") {
        if (!skin) return;
        if (type == "ListView") plat(w);
        couleurFond(w, QPalette::Base, kCouleurChamp);
        if (type == "TreeView") couleurFond(w, QPalette::Text, Qt::black);
    } else if (type == "SftTabs") {
        onglets(static_cast<QTabWidget&>(w), skin, base);
    } else if (type == "SftButton") {
        // Both ends of its shading are the main window's own background.
        if (const Frm_Main* principale = TheFrm_Main(); skin && principale)
            couleurFond(w, QPalette::Button, principale->palette().color(QPalette::Window));
    } else if (type == "CheckBox" || type == "OptionButton") {
        couleurFond(w, QPalette::Window, base);
    } else if (type == "TextBox") {
        plat(w);
        if (skin && !fondOmbreBouton(w)) couleurFond(w, QPalette::Base, kCouleurChamp);
    } else if (type == "ListBox" || type == "ComboBox") {
        plat(w);
        if (skin) couleurFond(w, QPalette::Base, kCouleurChamp);
    } else if (type == "Label") {
        auto& label = static_cast<QLabel&>(w);
        if (skin) label.setAutoFillBackground(false);
        if (label.text() == "...") label.clear();
    }
}

}  // namespace

QColor CouleurDeBase() {
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

void LookFenetre(QWidget& fenetre) {
    const QColor base = CouleurDeBase();
    const bool skin = StyleLook == 15;
    const auto controles = fenetre.findChildren<QWidget*>();
    for (QWidget* c : controles)
        if (auto* cadre = qobject_cast<QGroupBox*>(c)) cadreMyFrame(*cadre, base);
    for (QWidget* c : controles) {
        if (partieDUnControle(*c)) continue;
        styler(*c, TypeName(*c), skin, base);
    }
}

}  // namespace Lib_Look
