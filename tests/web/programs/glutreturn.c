/* A program whose main returns without entering GLUT's main loop: the page
   reports its status. */
#include <GL/glut.h>
#include <stdio.h>

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    printf("leaving main with %d\n", 5);
    return 5;
}
