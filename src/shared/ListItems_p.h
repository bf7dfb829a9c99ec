// SPDX-License-Identifier: MIT
// The items of the controls' lists, held in one vector. Qt's default model for a list box
// keeps an object per item with a list of roles inside; the controls build their lists
// anew at every initialisation, and those objects cost more than the rest of the list's
// work together. Each item here is a text, a value (the enumeration's number) and whatever
// other roles a host gives it; the list box works with it as with the default model.
#pragma once

#include <QAbstractListModel>
#include <QMap>
#include <QVector>
#include <utility>

class QComboBox;
class QWidget;

namespace MKorvane {

class ListItems : public QAbstractListModel
{
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    // Puts exactly these items (text, value) into the list, as one reset; a list that holds
    // them already is left as it is, and one that holds their texts only takes their values.
    // False when it was left.
    bool setItems(const QVector<std::pair<QString, qint32>> &items);
    // Puts these texts, without values, into the list, as one reset.
    void setTexts(const QStringList &texts);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool insertRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;

private:
    struct Item
    {
        QString text; // the display and edit role
        QVariant value; // the user role
        QMap<int, QVariant> otherRoles;
    };
    bool holds(const QVector<std::pair<QString, qint32>> &items) const;
    bool holdsTexts(const QVector<std::pair<QString, qint32>> &items) const;
    // Whether the index is one of this list's rows (QAbstractItemModel::checkIndex without its warnings).
    bool holdsRow(const QModelIndex &index) const;

    QVector<Item> m_items;
};

// Gives every list box inside the form its own ListItems in place of Qt's default model.
// Call it before the lists are filled: the items of the old model are not carried over.
void UseListItems(QWidget *form);

// Makes the texts the list's items, without values, as clear() and addItems() would: the
// first one is then selected.
void SetListTexts(QComboBox *combo, const QStringList &texts);

} // namespace MKorvane
