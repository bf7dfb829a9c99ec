// SPDX-License-Identifier: MIT
// The controls' list items, held in one vector.
#include "shared/ListItems_p.h"

#include <QComboBox>

namespace MKorvane {

bool ListItems::holds(const QVector<std::pair<QString, qint32>> &items) const
{
    if (m_items.size() != items.size())
        return false;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const Item &item = m_items.at(i);
        if (item.text != items.at(i).first || item.value.typeId() != QMetaType::Int
            || item.value.toInt() != items.at(i).second || !item.otherRoles.isEmpty())
            return false;
    }
    return true;
}

bool ListItems::holdsTexts(const QVector<std::pair<QString, qint32>> &items) const
{
    if (m_items.size() != items.size() || items.isEmpty())
        return false;
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (m_items.at(i).text != items.at(i).first)
            return false;
    }
    return true;
}

bool ListItems::setItems(const QVector<std::pair<QString, qint32>> &items)
{
    if (holds(items))
        return false;
    if (holdsTexts(items)) {
        // Only the values change (a list of names that gets its numbers): in place, without
        // the reset that makes the list box select and lay out its items anew.
        for (qsizetype i = 0; i < items.size(); ++i)
            m_items[i] = Item { m_items.at(i).text, items.at(i).second, {} };
        emit dataChanged(index(0), index(int(items.size()) - 1));
        return true;
    }
    beginResetModel();
    m_items.clear();
    m_items.reserve(items.size());
    for (const auto &[text, value] : items)
        m_items.append(Item { text, value, {} });
    endResetModel();
    return true;
}

void ListItems::setTexts(const QStringList &texts)
{
    beginResetModel();
    m_items.clear();
    m_items.reserve(texts.size());
    for (const QString &text : texts)
        m_items.append(Item { text, {}, {} });
    endResetModel();
}

int ListItems::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

bool ListItems::holdsRow(const QModelIndex &index) const
{
    return index.isValid() && index.model() == this && index.column() == 0 && index.row() < m_items.size();
}

QVariant ListItems::data(const QModelIndex &index, int role) const
{
    if (!holdsRow(index))
        return QVariant();
    const Item &item = m_items.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return item.text;
    case Qt::UserRole:
        return item.value;
    default:
        return item.otherRoles.value(role);
    }
}

bool ListItems::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!holdsRow(index))
        return false;
    Item &item = m_items[index.row()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        item.text = value.toString();
        break;
    case Qt::UserRole:
        item.value = value;
        break;
    default:
        if (value.isValid())
            item.otherRoles.insert(role, value);
        else
            item.otherRoles.remove(role);
    }
    // The display and edit roles are one text: a change of either changes both.
    emit dataChanged(index, index,
        role == Qt::DisplayRole || role == Qt::EditRole ? QList<int> { Qt::DisplayRole, Qt::EditRole }
                                                        : QList<int> { role });
    return true;
}

Qt::ItemFlags ListItems::flags(const QModelIndex &index) const
{
    // As Qt's default model gives its items.
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}

bool ListItems::insertRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || row > m_items.size() || count < 1)
        return false;
    beginInsertRows(parent, row, row + count - 1);
    m_items.insert(row, count, Item {});
    endInsertRows();
    return true;
}

bool ListItems::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count < 1 || row + count > m_items.size())
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    m_items.remove(row, count);
    endRemoveRows();
    return true;
}

void SetListTexts(QComboBox *combo, const QStringList &texts)
{
    if (auto *list = qobject_cast<ListItems *>(combo->model())) {
        list->setTexts(texts);
        return;
    }
    combo->clear();
    combo->addItems(texts);
}

void UseListItems(QWidget *form)
{
    for (QComboBox *combo : form->findChildren<QComboBox *>())
        combo->setModel(new ListItems(combo));
}

} // namespace MKorvane
