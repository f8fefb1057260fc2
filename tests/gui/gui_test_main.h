#pragma once
// The GUI tests share one QApplication, made in gui_test_main.cpp.

#include <QApplication>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

// Runs `action` on the next modal window of type T once it is shown; gives
// up after some seconds, so that no waiting action is left for later tests.
template<class T> void RunWhenModal(std::function<void(T*)> action, int tries = 500)
{
    QTimer::singleShot(10, [action, tries] {
        if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget()))
            action(w);
        else if (tries > 0)
            RunWhenModal<T>(action, tries - 1);
        else
            ADD_FAILURE() << "no " << T::staticMetaObject.className() << " was shown";
    });
}
