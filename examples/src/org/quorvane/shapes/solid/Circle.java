/* SPDX-License-Identifier: Apache-2.0 */
/* A second Circle.java, in another directory: a disc with a thickness. */
package org.quorvane.shapes.solid;

import org.quorvane.shapes.AbstractShape;

/**
 * A solid disc.
 */
public class Circle extends org.quorvane.shapes.AbstractShape
{
    private final double radius;
    private final double depth;

    public Circle(double radius, double depth)
    {
        this.radius = radius;
        this.depth = depth;
    }

    public double area()
    {
        return 2 * Math.PI * radius * (radius + depth);
    }

    public String name()
    {
        return "solid circle";
    }
}
