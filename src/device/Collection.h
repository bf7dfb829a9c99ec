// SPDX-License-Identifier: MIT
/// @file
/// Collection: an ordered list addressed 1-based by position or by a key compared
/// without regard to letter case. A missing position or key throws RuntimeError.
#pragma once

#include "device/Failure.h"

#include <QString>
#include <QVector>
#include <memory>

namespace DeviceAccess {

/// The ordered, optionally keyed list that the device library hands out (enumeration
/// members, display strings) and the library builds (defaults sections). Items are held by
/// value; a Collection of shared pointers shares the objects. Positions count from 1.
/// @tparam T the item type, copyable
template<typename T> class Collection
{
public:
    /// The number of items.
    int Count() const { return m_items.size(); }

    /// Appends a value; an empty key leaves the entry unkeyed. A key that is already
    /// present is refused, as keys must be unique.
    void Add(const T &value, const QString &key = QString())
    {
        if (!key.isEmpty() && indexOfKey(key) >= 0)
            throw RuntimeError(
                457, QStringLiteral("This key is already associated with an element of this collection"));
        m_items.append(value);
        m_keys.append(key);
    }

    /// The item at a position from 1; throws RuntimeError 9 (SubscriptOutOfRange) outside 1..Count().
    const T &Item(int position) const
    {
        if (position < 1 || position > m_items.size())
            throw RuntimeError(RuntimeError::SubscriptOutOfRange, QStringLiteral("Subscript out of range"));
        return m_items.at(position - 1);
    }

    /// The item of a key, letter case ignored; throws RuntimeError 5 (InvalidProcedureCall) for a missing key.
    const T &Item(const QString &key) const
    {
        const int index = indexOfKey(key);
        if (index < 0)
            throw RuntimeError(
                RuntimeError::InvalidProcedureCall, QStringLiteral("Invalid procedure call or argument"));
        return m_items.at(index);
    }

    /// Whether an item has that key, letter case ignored.
    bool Contains(const QString &key) const { return indexOfKey(key) >= 0; }

    /// Removes the item at a position from 1; throws RuntimeError 9 outside 1..Count().
    void Remove(int position)
    {
        Item(position);
        m_items.removeAt(position - 1);
        m_keys.removeAt(position - 1);
    }

    /// Removes the item of a key, letter case ignored; throws RuntimeError 5 for a missing key.
    void Remove(const QString &key)
    {
        const int index = indexOfKey(key);
        if (index < 0)
            throw RuntimeError(
                RuntimeError::InvalidProcedureCall, QStringLiteral("Invalid procedure call or argument"));
        m_items.removeAt(index);
        m_keys.removeAt(index);
    }

    /// Iteration over the items in order (for range-based for).
    /// @{
    typename QVector<T>::const_iterator begin() const { return m_items.cbegin(); }
    typename QVector<T>::const_iterator end() const { return m_items.cend(); }
    ///@}

private:
    int indexOfKey(const QString &key) const
    {
        for (int i = 0; i < m_keys.size(); ++i) {
            if (!m_keys.at(i).isEmpty() && m_keys.at(i).compare(key, Qt::CaseInsensitive) == 0)
                return i;
        }
        return -1;
    }

    QVector<T> m_items;
    QVector<QString> m_keys;
};

/// A collection shared between the device library and its users.
template<typename T> using CollectionPtr = std::shared_ptr<Collection<T>>;

} // namespace DeviceAccess
