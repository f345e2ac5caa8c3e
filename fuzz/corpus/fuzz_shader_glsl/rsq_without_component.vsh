vs.1.1
mov	oT0, v2
mov	r6.x, c4.y
mov	a0.x, v3.y
m4x3	r0.xyz, v0, c[a0.x + 5]
m3x3	r1, v1, c[a0.x + 5]
mul	r4.xyz, r0.xyz, v3.xxx
mul	r3.xyz, r1.xyz, v3.xyz
dp3	r3.w,r3.xyz,r3.xyz
rsq	r3.w,r3;.w
mul	r3.xyz,r3.xyz,r3.www
m4x4	r2, r4, c0
mov	oPos, r2
dp3	r6.x, r3.xyz, c12.xyz
mul	r0.xyz, r6.xxx, c13
add	oD0.rgb,  r0.xyz, c11
mov	oD0.a, c4.y
