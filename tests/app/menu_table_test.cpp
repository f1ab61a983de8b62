// The menu bar against its table: menu titles, every item's text and command id, the
// separators, in order, and the items added checked.

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include "app/MenuBar.h"

namespace tessel {
namespace {

struct Row {
    const char* text;  // nullptr: a separator
    int id;
};

struct Menu {
    const char* title;
    std::vector<Row> rows;
};

const std::vector<Menu> kTable = {
    {"Archivos",
     {{"Nuevo", 1046},
      {nullptr, 0},
      {"Posicion Zero", 1089},
      {nullptr, 0},
      {"Leer Imagen", 1044},
      {nullptr, 0},
      {"Grabar Imagen", 1059},
      {nullptr, 0},
      {"Papel Formato", 1049},
      {nullptr, 0},
      {"Cortar", 1045},
      {nullptr, 0},
      {"Autor", 1048},
      {nullptr, 0},
      {"Salir", 1047}}},
    {"Personalizar",
     {{"Propiedades Texto", 1050},
      {"Configuracion", 1051},
      {"Tamaño imagenes", 1064},
      {"Dias Festivos", 1083},
      {"Selector Texturas", 1085}}},
    {"Regletas", {{"En pixel", 1065}, {"En milimetros", 1066}}},
    {"Ver",
     {{"Ajustar a la ventana", 1101}, {"Tamaño real", 1102}, {"Acercar", 1103}, {"Alejar", 1104}}},
    {"Modificar",
     {{"Deshacer", 1068},
      {"Rehacer", 1090},
      {nullptr, 0},
      {"Copiar imagen", 1121},
      {"Pegar", 1122},
      {"Pegar como imagen nueva", 1123},
      {nullptr, 0},
      {"Escala de Gris", 1054},
      {"Girar 90° a la derecha", 1111},
      {"Girar 90° a la izquierda", 1112},
      {"Girar 180°", 1113},
      {"Voltear horizontalmente", 1114},
      {"Voltear verticalmente", 1115},
      {nullptr, 0},
      {"Insertar Linea de Texto Angular", 1055},
      {"Insertar Linea de Texto FX", 1081},
      {"Insertar Linea de Texto Hueca", 1082},
      {"Insertar Linea de Texto con Textura ", 1086},
      {"Insertar Linea de Texto con Textura de Fichero", 1087},
      {"Insertar Texto Alineado", 1063},
      {"Insertar Bocadito", 1056},
      {"Insertar Imagen", 1057},
      {"Insertar Icono", 1058},
      {"Insertar Cuadrados o Circulos", 1060},
      {"Insertar Flechas", 1061},
      {"Insertar Mes de Almanaque", 1084},
      {"Insertar ProgressBar", 1088}}},
};

// The text as shown: a keyboard mnemonic's "&" is not part of it.
QString shown(QString text) {
    return text.remove(u'&');
}

TEST(MenuTable, MenusItemsSeparatorsAndIdsAreThoseOfTheTableInOrder) {
    MenuBar bar;
    const QList<QAction*> menus = bar.actions();
    ASSERT_EQ(menus.size(), qsizetype(kTable.size()));
    int items = 0;
    for (size_t m = 0; m < kTable.size(); ++m) {
        SCOPED_TRACE(kTable[m].title);
        EXPECT_EQ(shown(menus[qsizetype(m)]->text()), QString::fromUtf8(kTable[m].title));
        QMenu* menu = menus[qsizetype(m)]->menu();
        ASSERT_NE(menu, nullptr);
        const QList<QAction*> entries = menu->actions();
        ASSERT_EQ(entries.size(), qsizetype(kTable[m].rows.size()));
        for (size_t i = 0; i < kTable[m].rows.size(); ++i) {
            const Row& row = kTable[m].rows[i];
            QAction* entry = entries[qsizetype(i)];
            if (row.text == nullptr) {
                EXPECT_TRUE(entry->isSeparator()) << i;
                continue;
            }
            ++items;
            EXPECT_FALSE(entry->isSeparator()) << row.text;
            EXPECT_EQ(entry->text(), QString::fromUtf8(row.text));
            EXPECT_EQ(bar.action(row.id), entry) << row.text << " " << row.id;
        }
    }
    EXPECT_EQ(items, 8 + 5 + 2 + 4 + 24);
    EXPECT_EQ(bar.commandIds().size(), items);
}

TEST(MenuTable, ChoosingAnItemSendsItsCommandId) {
    MenuBar bar;
    QList<int> sent;
    QObject::connect(&bar, &MenuBar::command, [&sent](int id) { sent.append(id); });
    QList<int> expected;
    for (const Menu& menu : kTable) {
        for (const Row& row : menu.rows) {
            if (row.text == nullptr) continue;
            QAction* item = bar.action(row.id);
            ASSERT_NE(item, nullptr) << row.id;
            item->setEnabled(true);
            item->trigger();
            expected.append(row.id);
        }
    }
    EXPECT_EQ(sent, expected);
}

TEST(MenuTable, OnlyTheMillimetreRulerStartsChecked) {
    MenuBar bar;
    for (const Menu& menu : kTable) {
        for (const Row& row : menu.rows) {
            if (row.text == nullptr) continue;
            EXPECT_EQ(bar.action(row.id)->isChecked(), row.id == 1066) << row.text;
        }
    }
}

}  // namespace
}  // namespace tessel
