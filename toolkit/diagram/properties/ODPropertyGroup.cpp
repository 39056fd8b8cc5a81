#include "ODPropertyGroup.h"

BOOL CODPropertyGroup::Check(int index, Kind kind) const
{
    if (index < 1 || index > GetMemberCount())
        return FALSE;
    if (kind == kindNone || GetMemberKind(index) != kind)
        ODThrowConversion();
    return TRUE;
}

BOOL CODPropertyGroup::GetValue(int index, float&)
{
    return Check(index, kindNone);
}

BOOL CODPropertyGroup::GetValue(int index, DWORD& value)
{
    if (!Check(index, kindColor))
        return FALSE;
    value = *ColorMember(index);
    return TRUE;
}

BOOL CODPropertyGroup::GetValue(int index, ODValue32&)
{
    return Check(index, kindNone);
}

BOOL CODPropertyGroup::GetValue(int index, int& value)
{
    if (!Check(index, kindInt))
        return FALSE;
    value = *IntMember(index);
    return TRUE;
}

BOOL CODPropertyGroup::GetValue(int index, CString& value)
{
    if (!Check(index, kindString))
        return FALSE;
    value = *StringMember(index);
    return TRUE;
}

BOOL CODPropertyGroup::SetValue(int index, float)
{
    return Check(index, kindNone);
}

BOOL CODPropertyGroup::SetValue(int index, DWORD value)
{
    if (!Check(index, kindColor))
        return FALSE;
    *ColorMember(index) = value;
    return TRUE;
}

BOOL CODPropertyGroup::SetValue(int index, ODValue32)
{
    return Check(index, kindNone);
}

BOOL CODPropertyGroup::SetValue(int index, int value)
{
    if (!Check(index, kindInt))
        return FALSE;
    *IntMember(index) = value;
    return TRUE;
}

BOOL CODPropertyGroup::SetValue(int index, LPCTSTR value)
{
    if (!Check(index, kindString))
        return FALSE;
    *StringMember(index) = value ? value : "";
    return TRUE;
}
