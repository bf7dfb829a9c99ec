// SPDX-License-Identifier: MIT
/// @file
/// Collection: an ordered list addressed 1-based by position or by a key compared
/// without regard to letter case. A missing position or key throws RuntimeError.
#pragma once

#include "device/Failure.h"

#include <QHash>
#include <QString>
#include <QVector>
#include <memory>

namespace DeviceAccess {

/// Whether two names or keys are the same, letter case ignored, as the device library
/// compares them. Case folding keeps a text's length, so a length that differs settles it
/// at once, and a text written alike needs no folding.
inline bool sameIgnoringCase(const QString &a, const QString &b)
{
    return a.size() == b.size() && (a == b || a.compare(b, Qt::CaseInsensitive) == 0);
}

/// A collection's key as its index holds it: equal to another key and hashed without regard
/// to letter case, and without a case-folded copy of the text.
struct CollectionKey
{
    QString text; ///< the key as given

    /// Whether two keys are the same, letter case ignored.
    friend bool operator==(const CollectionKey &a, const CollectionKey &b) { return sameIgnoringCase(a.text, b.text); }
    /// A hash that letter case does not change.
    friend size_t qHash(const CollectionKey &key, size_t start = 0) noexcept
    {
        size_t hash = start;
        for (const QChar c : key.text) {
            // ASCII folds to lower case here; only other characters need Unicode's folding.
            const char16_t u = c.unicode();
            hash = hash * 31 + (u < 0x80 ? (u >= 'A' && u <= 'Z' ? u + 32 : u) : c.toCaseFolded().unicode());
        }
        return hash;
    }
};

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
        if (m_hashed && !key.isEmpty())
            m_index.insert(CollectionKey { key }, int(m_items.size()));
        m_items.append(value);
        m_keys.append(key);
        if (!m_hashed && m_keys.size() > LinearLookupLimit) {
            for (int i = 0; i < m_keys.size(); ++i) {
                if (!m_keys.at(i).isEmpty())
                    m_index.insert(CollectionKey { m_keys.at(i) }, i);
            }
            m_hashed = true;
        }
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
        removeAt(position - 1);
    }

    /// Removes the item of a key, letter case ignored; throws RuntimeError 5 for a missing key.
    void Remove(const QString &key)
    {
        const int index = indexOfKey(key);
        if (index < 0)
            throw RuntimeError(
                RuntimeError::InvalidProcedureCall, QStringLiteral("Invalid procedure call or argument"));
        removeAt(index);
    }

    /// Iteration over the items in order (for range-based for).
    /// @{
    typename QVector<T>::const_iterator begin() const { return m_items.cbegin(); }
    typename QVector<T>::const_iterator end() const { return m_items.cend(); }
    ///@}

private:
    // A short collection (an enumeration's members) finds a key by comparing the keys in
    // turn, which costs less than hashing them; a longer one (thousands of display strings)
    // keeps a hash that ignores letter case, so that filling it with n keyed items costs n
    // look-ups rather than n * n / 2 comparisons.
    static constexpr int LinearLookupLimit = 16;

    int indexOfKey(const QString &key) const
    {
        if (key.isEmpty())
            return -1;
        if (m_hashed)
            return m_index.value(CollectionKey { key }, -1);
        for (int i = 0; i < m_keys.size(); ++i) {
            if (sameIgnoringCase(m_keys.at(i), key))
                return i;
        }
        return -1;
    }

    void removeAt(int index)
    {
        if (m_hashed) {
            if (!m_keys.at(index).isEmpty())
                m_index.remove(CollectionKey { m_keys.at(index) });
            for (auto it = m_index.begin(); it != m_index.end(); ++it) {
                if (it.value() > index)
                    --it.value();
            }
        }
        m_items.removeAt(index);
        m_keys.removeAt(index);
    }

    QVector<T> m_items;
    QVector<QString> m_keys; // as given; empty for an unkeyed item
    QHash<CollectionKey, int> m_index; // key -> index in m_items, once the collection is long
    bool m_hashed = false; // m_index holds every key
};

/// A collection shared between the device library and its users.
template<typename T> using CollectionPtr = std::shared_ptr<Collection<T>>;

} // namespace DeviceAccess
