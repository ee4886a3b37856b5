// What the dispatch interfaces and events interfaces of the ten controls have in common, included by
// Citara.idl and CitaraWeb.idl. Entries 1 to 36 of every dispatch interface: the form's standard
// properties, in this order, with these DISPIDs, in all ten interfaces. The standard DISPIDs are
// written as their unsigned 32-bit values: -518 Caption, -501 Color, -512 Font, -514 Enabled.
// FONT_PUTREF_DIRECTION is [in, out] in Citara and [in] in CitaraWeb.

#define CITARA_FORM_PROPERTIES \
    [propget, id(0x00000001), hidden] HRESULT Visible([out, retval] VARIANT_BOOL* Value); \
    [propput, id(0x00000001), hidden] HRESULT Visible([in] VARIANT_BOOL); \
    [propget, id(0x00000002)] HRESULT AutoScroll([out, retval] VARIANT_BOOL* Value); \
    [propput, id(0x00000002)] HRESULT AutoScroll([in] VARIANT_BOOL); \
    [propget, id(0x00000003)] HRESULT AutoSize([out, retval] VARIANT_BOOL* Value); \
    [propput, id(0x00000003)] HRESULT AutoSize([in] VARIANT_BOOL); \
    [propget, id(0x00000004)] HRESULT AxBorderStyle([out, retval] TxActiveFormBorderStyle* Value); \
    [propput, id(0x00000004)] HRESULT AxBorderStyle([in] TxActiveFormBorderStyle); \
    [propget, id(0xFFFFFDFA)] HRESULT Caption([out, retval] BSTR* Value); \
    [propput, id(0xFFFFFDFA)] HRESULT Caption([in] BSTR); \
    [propget, id(0xFFFFFE0B)] HRESULT Color([out, retval] OLE_COLOR* Value); \
    [propput, id(0xFFFFFE0B)] HRESULT Color([in] OLE_COLOR); \
    [propget, id(0xFFFFFE00)] HRESULT Font([out, retval] IFontDisp** Value); \
    [propput, id(0xFFFFFE00)] HRESULT Font([in] IFontDisp*); \
    [propputref, id(0xFFFFFE00)] HRESULT Font(FONT_PUTREF_DIRECTION IFontDisp**); \
    [propget, id(0x00000005)] HRESULT KeyPreview([out, retval] VARIANT_BOOL* Value); \
    [propput, id(0x00000005)] HRESULT KeyPreview([in] VARIANT_BOOL); \
    [propget, id(0x00000006)] HRESULT PixelsPerInch([out, retval] long* Value); \
    [propput, id(0x00000006)] HRESULT PixelsPerInch([in] long); \
    [propget, id(0x00000007)] HRESULT PrintScale([out, retval] TxPrintScale* Value); \
    [propput, id(0x00000007)] HRESULT PrintScale([in] TxPrintScale); \
    [propget, id(0x00000008)] HRESULT Scaled([out, retval] VARIANT_BOOL* Value); \
    [propput, id(0x00000008)] HRESULT Scaled([in] VARIANT_BOOL); \
    [propget, id(0x00000009), hidden] HRESULT Active([out, retval] VARIANT_BOOL* Value); \
    [propget, id(0x0000000A), hidden] HRESULT DropTarget([out, retval] VARIANT_BOOL* Value); \
    [propput, id(0x0000000A), hidden] HRESULT DropTarget([in] VARIANT_BOOL); \
    [propget, id(0x0000000B), hidden] HRESULT HelpFile([out, retval] BSTR* Value); \
    [propput, id(0x0000000B), hidden] HRESULT HelpFile([in] BSTR); \
    [propget, id(0x0000000C), hidden] HRESULT DoubleBuffered([out, retval] VARIANT_BOOL* Value); \
    [propput, id(0x0000000C), hidden] HRESULT DoubleBuffered([in] VARIANT_BOOL); \
    [propget, id(0xFFFFFDFE), hidden] HRESULT Enabled([out, retval] VARIANT_BOOL* Value); \
    [propput, id(0xFFFFFDFE), hidden] HRESULT Enabled([in] VARIANT_BOOL); \
    [propget, id(0x0000000D), hidden] HRESULT BiDiMode([out, retval] TxBiDiMode* Value); \
    [propput, id(0x0000000D), hidden] HRESULT BiDiMode([in] TxBiDiMode); \
    [propget, id(0x0000000E)] HRESULT Cursor([out, retval] short* Value); \
    [propput, id(0x0000000E)] HRESULT Cursor([in] short);

// The events every control fires, the same in all ten events interfaces.
#define CITARA_EVENTS \
    [id(0x00000001)] void OnActivate(void); \
    [id(0x00000002)] void OnClick(void); \
    [id(0x00000003)] void OnCreate(void); \
    [id(0x00000004)] void OnDblClick(void); \
    [id(0x00000005)] void OnDestroy(void); \
    [id(0x00000006)] void OnDeactivate(void); \
    [id(0x0000000A)] void OnKeyPress([in, out] short* Key); \
    [id(0x0000000F)] void OnPaint(void);

// The four enumerations, declared once in each library with that library's GUIDs.
#define CITARA_ENUMS(BORDER_GUID, SCALE_GUID, MOUSE_GUID, BIDI_GUID) \
  typedef [uuid(BORDER_GUID), version(1.0)] \
  enum TxActiveFormBorderStyle { afbNone = 0, afbSingle = 1, afbSunken = 2, afbRaised = 3 } TxActiveFormBorderStyle; \
  typedef [uuid(SCALE_GUID), version(1.0)] \
  enum TxPrintScale { poNone = 0, poProportional = 1, poPrintToFit = 2 } TxPrintScale; \
  typedef [uuid(MOUSE_GUID), version(1.0)] \
  enum TxMouseButton { mbLeft = 0, mbRight = 1, mbMiddle = 2 } TxMouseButton; \
  typedef [uuid(BIDI_GUID), version(1.0)] \
  enum TxBiDiMode { bdLeftToRight = 0, bdRightToLeft = 1, bdRightToLeftNoAlign = 2, bdRightToLeftReadingOnly = 3 } TxBiDiMode;
