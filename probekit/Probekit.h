// probekit: one export that answers whether an XML DOM document object can be created here.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// 1 when an XML DOM document ("Microsoft.XMLDOM", IXMLDOMDocument) could be created in-process,
// 0 when not. Leaves the calling thread's COM initialisation as it found it.
int __cdecl ProbekitParser(void);

#ifdef __cplusplus
}
#endif
