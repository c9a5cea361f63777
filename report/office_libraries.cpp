#include "office_libraries.h"

#include "report_errors.h"

#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <osl/file.h>
#include <osl/interlck.h>
#include <osl/mutex.h>
#include <rtl/alloc.h>
#include <rtl/ustring.h>
#include <typelib/typedescription.h>
#include <uno/any2.h>
#include <uno/data.h>
#include <uno/sequence2.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>

// Every function of theirs that our code calls is defined here, with the
// declaration of the UNO headers, and passes the call on to theirs: the
// program itself then needs none of the libraries to start.

namespace {
struct Libraries {
    std::array<void*, 3> handles{};
    QString failure;
};

const Libraries& Loaded() {
    static const Libraries libraries = [] {
        Libraries l;
        const char* names[] = {"libuno_sal.so.3", "libuno_cppu.so.3", "libuno_cppuhelpergcc3.so.3"};
        for (std::size_t k = 0; k < l.handles.size(); ++k) {
            const QByteArray path = QByteArray(MARKWISE_LO_PROGRAM_DIR "/") + names[k];
            // Global: the bridges the office's runtime loads later link to them.
            l.handles[k] = dlopen(path.constData(), RTLD_NOW | RTLD_GLOBAL);
            if (!l.handles[k]) {
                l.failure = QString::fromLocal8Bit(dlerror());
                break;
            }
        }
        return l;
    }();
    return libraries;
}

// Called only after LoadLibraries succeeded, from functions that may not
// throw: a library that went missing ends the program as a missing library
// at start would.
void* Symbol(const char* name) {
    const Libraries& l = Loaded();
    for (void* h : l.handles)
        if (h)
            if (void* f = dlsym(h, name)) return f;
    std::fprintf(stderr, "markwise: the office's %s is missing: %s\n", name, qPrintable(l.failure));
    std::abort();
}
}  // namespace

void office::LoadLibraries() {
    if (const QString& failure = Loaded().failure; !failure.isEmpty()) throw reporterror::OfficeNotStarted(failure);
}

#define PASS_ON(ret, name, params, args, ...)                                             \
    ret SAL_CALL name params __VA_ARGS__ {                                                \
        static const auto theirs = reinterpret_cast<decltype(&name)>(Symbol(#name));     \
        return theirs args;                                                               \
    }
#define NOTHROW SAL_THROW_EXTERN_C()

extern "C" {
PASS_ON(rtl_uString*, cppu_unsatisfied_iquery_msg, (typelib_TypeDescriptionReference* t), (t), NOTHROW)
PASS_ON(rtl_uString*, cppu_unsatisfied_iset_msg, (typelib_TypeDescriptionReference* t), (t), NOTHROW)
PASS_ON(sal_Bool, osl_acquireMutex, (oslMutex m), (m))
PASS_ON(sal_Bool, osl_releaseMutex, (oslMutex m), (m))
PASS_ON(oslMutex*, osl_getGlobalMutex, (void), ())
PASS_ON(oslInterlockedCount, osl_decrementInterlockedCount, (oslInterlockedCount* c), (c))
PASS_ON(oslFileError, osl_getFileURLFromSystemPath, (rtl_uString* p, rtl_uString** u), (p, u))
PASS_ON(oslFileError, osl_getSystemPathFromFileURL, (rtl_uString* u, rtl_uString** p), (u, p))
PASS_ON(void*, rtl_allocateMemory, (sal_Size n), (n), NOTHROW)
PASS_ON(void, rtl_uString_acquire, (rtl_uString* s), (s), NOTHROW)
PASS_ON(void, rtl_uString_release, (rtl_uString* s), (s), NOTHROW)
PASS_ON(void, rtl_uString_assign, (rtl_uString** s, rtl_uString* v), (s, v), NOTHROW)
PASS_ON(void, rtl_uString_new, (rtl_uString** s), (s), NOTHROW)
PASS_ON(void, rtl_uString_newConcat, (rtl_uString** s, rtl_uString* l, rtl_uString* r), (s, l, r), NOTHROW)
PASS_ON(void, rtl_uString_newFromAscii, (rtl_uString** s, const char* v), (s, v), NOTHROW)
PASS_ON(void, rtl_uString_newFromLiteral, (rtl_uString** s, const char* v, sal_Int32 n, sal_Int32 extra),
        (s, v, n, extra), NOTHROW)
PASS_ON(void, rtl_uString_newFromStr_WithLength, (rtl_uString** s, const sal_Unicode* v, sal_Int32 n), (s, v, n), NOTHROW)
PASS_ON(sal_Bool, rtl_ustr_asciil_reverseEquals_WithLength, (const sal_Unicode* a, const char* b, sal_Int32 n), (a, b, n),
        NOTHROW)
PASS_ON(void, typelib_static_compound_type_init,
        (typelib_TypeDescriptionReference** r, typelib_TypeClass c, const char* n, typelib_TypeDescriptionReference* b,
         sal_Int32 m, typelib_TypeDescriptionReference** ms),
        (r, c, n, b, m, ms), NOTHROW)
PASS_ON(void, typelib_static_enum_type_init, (typelib_TypeDescriptionReference** r, const char* n, sal_Int32 d), (r, n, d),
        NOTHROW)
PASS_ON(void, typelib_static_mi_interface_type_init,
        (typelib_TypeDescriptionReference** r, const char* n, sal_Int32 k, typelib_TypeDescriptionReference** b),
        (r, n, k, b), NOTHROW)
PASS_ON(void, typelib_static_sequence_type_init, (typelib_TypeDescriptionReference** r, typelib_TypeDescriptionReference* e),
        (r, e), NOTHROW)
PASS_ON(void, typelib_static_struct_type_init,
        (typelib_TypeDescriptionReference** r, const char* n, typelib_TypeDescriptionReference* b, sal_Int32 m,
         typelib_TypeDescriptionReference** ms, sal_Bool const* p),
        (r, n, b, m, ms, p), NOTHROW)
PASS_ON(typelib_TypeDescriptionReference**, typelib_static_type_getByTypeClass, (typelib_TypeClass c), (c), NOTHROW)
PASS_ON(void, typelib_typedescription_new,
        (typelib_TypeDescription** r, typelib_TypeClass c, rtl_uString* n, typelib_TypeDescriptionReference* t, sal_Int32 m,
         typelib_CompoundMember_Init* ms),
        (r, c, n, t, m, ms), NOTHROW)
PASS_ON(void, typelib_typedescription_newEnum,
        (typelib_TypeDescription** r, rtl_uString* n, sal_Int32 d, sal_Int32 k, rtl_uString** names, sal_Int32* values),
        (r, n, d, k, names, values), NOTHROW)
PASS_ON(void, typelib_typedescription_newInterfaceMethod,
        (typelib_InterfaceMethodTypeDescription** r, sal_Int32 pos, sal_Bool oneWay, rtl_uString* n, typelib_TypeClass rc,
         rtl_uString* rn, sal_Int32 np, typelib_Parameter_Init* ps, sal_Int32 ne, rtl_uString** es),
        (r, pos, oneWay, n, rc, rn, np, ps, ne, es), NOTHROW)
PASS_ON(void, typelib_typedescription_newMIInterface,
        (typelib_InterfaceTypeDescription** r, rtl_uString* n, sal_uInt32 u1, sal_uInt16 u2, sal_uInt16 u3, sal_uInt32 u4,
         sal_uInt32 u5, sal_Int32 nb, typelib_TypeDescriptionReference** bs, sal_Int32 nm,
         typelib_TypeDescriptionReference** ms),
        (r, n, u1, u2, u3, u4, u5, nb, bs, nm, ms), NOTHROW)
PASS_ON(void, typelib_typedescription_newStruct,
        (typelib_TypeDescription** r, rtl_uString* n, typelib_TypeDescriptionReference* t, sal_Int32 m,
         typelib_StructMember_Init* ms),
        (r, n, t, m, ms), NOTHROW)
PASS_ON(void, typelib_typedescription_register, (typelib_TypeDescription** d), (d), NOTHROW)
PASS_ON(void, typelib_typedescription_release, (typelib_TypeDescription* d), (d), NOTHROW)
PASS_ON(void, typelib_typedescriptionreference_new,
        (typelib_TypeDescriptionReference** r, typelib_TypeClass c, rtl_uString* n), (r, c, n), NOTHROW)
PASS_ON(void, typelib_typedescriptionreference_release, (typelib_TypeDescriptionReference* r), (r), NOTHROW)
PASS_ON(void, uno_any_construct, (uno_Any* d, void* s, struct _typelib_TypeDescription* t, uno_AcquireFunc a),
        (d, s, t, a), NOTHROW)
PASS_ON(void, uno_any_destruct, (uno_Any* v, uno_ReleaseFunc r), (v, r), NOTHROW)
PASS_ON(void, uno_type_any_assign,
        (uno_Any* d, void* s, struct _typelib_TypeDescriptionReference* t, uno_AcquireFunc a, uno_ReleaseFunc r),
        (d, s, t, a, r), NOTHROW)
PASS_ON(void, uno_type_any_construct, (uno_Any* d, void* s, struct _typelib_TypeDescriptionReference* t, uno_AcquireFunc a),
        (d, s, t, a), NOTHROW)
PASS_ON(sal_Bool, uno_type_assignData,
        (void* d, struct _typelib_TypeDescriptionReference* dt, void* s, struct _typelib_TypeDescriptionReference* st,
         uno_QueryInterfaceFunc q, uno_AcquireFunc a, uno_ReleaseFunc r),
        (d, dt, s, st, q, a, r), NOTHROW)
PASS_ON(void, uno_type_sequence_assign,
        (uno_Sequence** d, uno_Sequence* s, struct _typelib_TypeDescriptionReference* t, uno_ReleaseFunc r), (d, s, t, r),
        NOTHROW)
PASS_ON(sal_Bool, uno_type_sequence_construct,
        (uno_Sequence** s, struct _typelib_TypeDescriptionReference* t, void* e, sal_Int32 n, uno_AcquireFunc a),
        (s, t, e, n, a), NOTHROW)
PASS_ON(void, uno_type_sequence_destroy, (uno_Sequence* s, struct _typelib_TypeDescriptionReference* t, uno_ReleaseFunc r),
        (s, t, r), NOTHROW)
PASS_ON(sal_Bool, uno_type_sequence_reference2One,
        (uno_Sequence** s, struct _typelib_TypeDescriptionReference* t, uno_AcquireFunc a, uno_ReleaseFunc r), (s, t, a, r),
        NOTHROW)
}

namespace cppu {
css::uno::Reference<css::uno::XComponentContext> SAL_CALL
defaultBootstrap_InitialComponentContext(const rtl::OUString& iniFile) {
    using Theirs = css::uno::Reference<css::uno::XComponentContext>(SAL_CALL*)(const rtl::OUString&);
    static const auto theirs =
        reinterpret_cast<Theirs>(Symbol("_ZN4cppu40defaultBootstrap_InitialComponentContextERKN3rtl8OUStringE"));
    return theirs(iniFile);
}
}  // namespace cppu
