#pragma once
// Finding a window's widget (or action, or player) by its object name. A
// missing one stops the suite with the name it was looked up by, instead of
// crashing later on a null pointer.

#include <QObject>
#include <QString>
#include <QtGlobal>
#include <memory>

namespace testing_support {

template <class T> T *widget(const QObject *root, const QString &name)
{
    T *found = root ? root->findChild<T *>(name) : nullptr;
    if (!found)
        qFatal("%s has no %s named \"%s\"", root ? qPrintable(root->objectName()) : "(no window)",
               T::staticMetaObject.className(), qPrintable(name));
    return found;
}

template <class T, class Root> T *widget(const std::unique_ptr<Root> &root, const QString &name)
{
    return widget<T>(root.get(), name);
}

} // namespace testing_support
