#include "restyle.h"

#include <QTimer>

namespace tessera {

RestyleLifecycle::RestyleLifecycle(QWidget *self) : m_self(self) {}

RestyleLifecycle::~RestyleLifecycle()
{
    _onDestroy();
}

void RestyleLifecycle::_subscribeToTheme()
{
    QObject::connect(theme->signal, &ThemeSignal::changed, m_self, [this] { _onThemeChanged(); });
    QTimer::singleShot(0, m_self, [this] { _scheduleSetStyleSheet(); });
}

void RestyleLifecycle::_onThemeChanged()
{
    QTimer::singleShot(0, m_self, [this] { _scheduleSetStyleSheet(); });
}

void RestyleLifecycle::_scheduleSetStyleSheet()
{
    // A new handle replaces the previous one without cancelling it: every
    // trigger leads to one complete build.
    _setupStyleSheet = runLater(m_self, [this] { _lazy_set_stylesheet(); });
}

void RestyleLifecycle::_lazy_set_stylesheet()
{
    _set_stylesheet();
}

void RestyleLifecycle::_onDestroy()
{
    if (_setupStyleSheet.isValid() && !_setupStyleSheet.done())
        _setupStyleSheet.cancel();
}

QStringList themeMemoKey(const Theme *theme)
{
    return {theme->palette.mode, QString::number(theme->identity())};
}

} // namespace tessera
