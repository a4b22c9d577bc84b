// Included before platform/web/glutShapes.cpp and glutStroke.cpp when they are
// compiled for the desktop comparisons (shapes_check.cpp, stroke_check.cpp):
// their GLUT functions under other names, so that one program draws them
// beside freeglut's own.
#define glutSolidSphere zwSolidSphere
#define glutWireSphere zwWireSphere
#define glutSolidCone zwSolidCone
#define glutWireCone zwWireCone
#define glutSolidCylinder zwSolidCylinder
#define glutWireCylinder zwWireCylinder
#define glutSolidTorus zwSolidTorus
#define glutWireTorus zwWireTorus
#define glutSolidCube zwSolidCube
#define glutWireCube zwWireCube
#define glutSolidOctahedron zwSolidOctahedron
#define glutWireOctahedron zwWireOctahedron
#define glutSolidTetrahedron zwSolidTetrahedron
#define glutWireTetrahedron zwWireTetrahedron
#define glutSolidIcosahedron zwSolidIcosahedron
#define glutWireIcosahedron zwWireIcosahedron
#define glutSolidDodecahedron zwSolidDodecahedron
#define glutWireDodecahedron zwWireDodecahedron
#define glutSolidRhombicDodecahedron zwSolidRhombicDodecahedron
#define glutWireRhombicDodecahedron zwWireRhombicDodecahedron
#define glutSolidSierpinskiSponge zwSolidSierpinskiSponge
#define glutWireSierpinskiSponge zwWireSierpinskiSponge
#define glutSolidTeapot zwSolidTeapot
#define glutWireTeapot zwWireTeapot
#define glutStrokeCharacter zwStrokeCharacter
#define glutStrokeString zwStrokeString
#define glutStrokeWidth zwStrokeWidth
#define glutStrokeWidthf zwStrokeWidthf
#define glutStrokeLength zwStrokeLength
#define glutStrokeLengthf zwStrokeLengthf
#define glutStrokeHeight zwStrokeHeight
