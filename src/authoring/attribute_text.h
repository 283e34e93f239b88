#pragma once

#include "authoring/insertion.h"

#include <QList>
#include <QString>

// Shared pieces of the dialogs that write files, addresses and typed text into
// attributes.
namespace Authoring {

// A path or address for src/href. One picked from disk is percent-encoded whole; one
// typed by the user keeps the "%XX" escapes it already has, so nothing is encoded
// twice. Bytes of 128 and above follow the document's encoding.
QString EncodeAddress(const QString &text, bool pickedFromDisk, UrlEncoding encoding);

// The last values used, most recent first: adding puts a value first, removes an
// equal entry further down and drops entries beyond the limit.
template <typename T> class History {
public:
    explicit History(int limit = 6) : m_limit(limit) {}
    template <typename Same> void add(const T &value, Same same) {
        for (qsizetype i = 0; i < m_items.size(); ++i) {
            if (same(m_items.at(i), value)) {
                m_items.removeAt(i);
                break;
            }
        }
        m_items.prepend(value);
        while (m_items.size() > m_limit)
            m_items.removeLast();
    }
    void add(const T &value) {
        add(value, [](const T &a, const T &b) { return a == b; });
    }
    const QList<T> &items() const { return m_items; }
    bool isEmpty() const { return m_items.isEmpty(); }
    void clear() { m_items.clear(); }

private:
    int m_limit;
    QList<T> m_items;
};

} // namespace Authoring
