// What a driver object offers beyond IUnknown and IDispatch, where the platform has it
// (com_<os>.cpp). On Windows: the class's dual function table, ISupportErrorInfo with the
// thread's error object, and type information from the library's own type library resource.
// Elsewhere none of these: clients bind late, through IDispatch.
#pragma once

#include "server/catalogue.h"
#include "zorfp/automation.h"

namespace zorfp::server {

class DriverObject;

// The function table a driver object of `cls` starts with: its dual interface's table (the
// IDispatch slots first), or null where the platform has none.
IDispatchVtbl* DualTable(const ClassInfo& cls);
bool IsDualTable(const IDispatchVtbl* table);

// The ISupportErrorInfo function table, or null.
const void* SupportErrorInfoTable();

// The platform's further interfaces of `object`; E_NOINTERFACE (and a null `out`) for any other.
HRESULT QueryPlatformInterface(DriverObject& object, REFIID riid, void** out);

// IDispatch::GetTypeInfoCount and GetTypeInfo for a driver object of `cls`.
UINT TypeInfoCount();
HRESULT ClassTypeInfo(const ClassInfo& cls, ITypeInfo** out);

// Makes an automation failure the calling thread's error object, so that a client that reads
// IErrorInfo finds the message; nothing where the platform has no error objects.
void SetErrorObject(const ClassInfo& cls, const EXCEPINFO& excep);

}  // namespace zorfp::server
