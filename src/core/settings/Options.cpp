#include "Options.h"

Options::Options(QObject* parent) : QObject(parent) {}

bool Options::setCheckedIndex(Group group, int index)
{
    if (index < 0 || index >= ButtonsPerGroup)
        return false;
    if (m_checked[group] != index) {
        m_checked[group] = index;
        Q_EMIT changed();
    }
    return true;
}

bool Options::setUseSavedSettings(int value)
{
    if (value != 0 && value != 1)
        return false;
    if (m_useSavedSettings != value) {
        m_useSavedSettings = value;
        Q_EMIT changed();
    }
    return true;
}

bool Options::setSaveFieldValues(int value)
{
    if (value != 0 && value != 1)
        return false;
    if (m_saveFieldValues != value) {
        m_saveFieldValues = value;
        Q_EMIT changed();
    }
    return true;
}

void Options::setDefaults()
{
    setUseSavedSettings(1);
    for (int g = 0; g < GroupCount; ++g)
        setCheckedIndex(static_cast<Group>(g), 0);
    setSaveFieldValues(1);
}
