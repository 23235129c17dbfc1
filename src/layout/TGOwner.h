// The components of the form that owns a layout: the names its objects bear, so names stay
// unique within the form ("Special1", "Component0" ...). The form (a designer or printing
// window) keeps one for as long as it is open; objects add and remove themselves. Names
// compare without regard to case.
#pragma once

#include <QSet>
#include <QString>

class TGOwner
{
public:
    bool hasComponent(const QString &name) const
    {
        return !name.isEmpty() && m_names.contains(name.toLower());
    }
    // Other components of the form (windows, controls) whose names objects must not take.
    void addName(const QString &name)
    {
        if (!name.isEmpty())
            m_names.insert(name.toLower());
    }
    void removeName(const QString &name) { m_names.remove(name.toLower()); }

private:
    QSet<QString> m_names;
};
